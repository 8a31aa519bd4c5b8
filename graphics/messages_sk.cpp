// The library's messages in Slovak, message for message as in English
// (messages_en.cpp); a translator edits only the lines of the table below.
namespace kavex::detail {

extern const char messages_sk[];
const char messages_sk[] = R"table(
# Slovenčina. Na každom riadku jedna správa: jej názov, "=", jej text; do
# {zložených} miest dá knižnica číslo alebo text (formát: messages_en.cpp).
# {n:riadok|riadky|riadkov} je tvar slova po čísle n: 1; 2 až 4; 0 a 5 a viac.
sdl_start = SDL sa nepodarilo spustiť ({why}), preto program končí so stavom 1.
open_negative = {call}({width}, {height}) zlyhalo: rozmer nemôže byť záporný.
open_too_large = {call}({width}, {height}) zlyhalo: knižnica kreslí najviac na {most_width} x {most_height} pixelov.
open_refused = {call}({width}, {height}) zlyhalo: {why}.
open_canvas_empty = Plátno nemá plochu, takže kreslenie naň nič nerobí.
open_window_missing = Nie je žiadne okno, takže kreslenie ani refresh nič nerobia.
no_surface = {call} na plátne, ktoré nemá plochu, nič nerobí. Najprv ho otvor (gout.open(400, 300) alebo canvas c(200, 100)) a skontroluj, že open vrátilo true.
no_surface_move = pero sa nemôže pohnúť na plátne, ktoré nemá plochu. Najprv ho otvor (gout.open(400, 300) alebo canvas c(200, 100)) a skontroluj, že open vrátilo true.
no_surface_source = blitfrom nič neskopíruje z plátna, ktoré nemá plochu. Najprv otvor zdrojové plátno (canvas c(200, 100)) alebo doň načítaj obrázok a skontroluj, že sa to podarilo (true).
move_refused = pero sa nemôže presunúť na ({x}, {y}): plocha má rozmer {width} x {height}, takže x musí ležať v rozsahu 0..{last_x} a y v rozsahu 0..{last_y}. Pero zostáva na ({pen_x}, {pen_y}) a ďalšie kreslenie začne odtiaľ.
box_outside = obdĺžnik od pera ({pen_x}, {pen_y}) po ({x}, {y}) bol vynechaný: tento roh leží mimo plochy {width} x {height} a obdĺžnik sa kreslí buď celý, alebo vôbec.
text_not_drawn = text "{text}" nebol nakreslený: s perom na riadku {row} potrebujú jeho písmená riadky {top} až {bottom}, no plocha má riadky 0 až {last_row}. Daj pero aspoň {above} {above:riadok|riadky|riadkov} pod horný okraj a {below} {below:riadok|riadky|riadkov} nad dolný okraj.
text_utf8 = text "{text}" vyzerá ako UTF-8 (taký je reťazec v zdrojovom kóde): písmo berie jeden bajt na písmeno, takže každé písmeno s diakritikou sa zobrazí ako dve. Napíš draw_text(from_utf8("...")).
text_cut_right = text "{text}" bol skrátený: dosiahol pravý okraj plochy, ktorá je široká {width} {width:pixel|pixely|pixelov} (písmeno zaberá {letter}; twidth() povie, aký široký je text).
text_cut_bottom = text "{text}" bol skrátený: jeho ďalší riadok by ležal pod dolným okrajom plochy, ktorá je vysoká {height} {height:riadok|riadky|riadkov} (riadok textu zaberá {line} {line:riadok|riadky|riadkov}).
save_failed = save("{file}") zlyhalo: {why}. Žiadny súbor nebol zapísaný a skorší súbor s tým istým menom zostal, ako bol.
load_failed = load("{file}") zlyhalo: {why}. Plátno nemá plochu, takže kreslenie naň nič nerobí.
load_on_window = load("{file}") do okna nie je dovolené a okno zostáva, ako bolo: načítaj obrázok do vlastného plátna (canvas picture; picture.load("{file}")) a skopíruj ho do okna pomocou gout.blitfrom(picture, 0, 0).
refresh_unopened = refresh okna, ktoré nie je otvorené: najprv zavolaj gout.open(width, height) a skontroluj, že vrátilo true.
wait_after_quit = wait_event bolo po zatvorení okna zavolané {times}-krát a zakaždým hneď vrátilo prázdnu udalosť. Ukonči cyklus, keď gin prejde na false: while (gin) { gin.wait_event(ev); ... }
interrupt = Ctrl-C požiadalo program o zatvorenie: gin.wait_event teraz vracia false. Cyklus, ktorý nikdy nečaká na udalosť, beží ďalej; druhé Ctrl-C program okamžite ukončí.
sound_load_failed = load("{file}") zvuku zlyhalo: {why}. Zvuk nič neobsahuje, takže jeho prehranie nič neurobí.
sound_empty = {call} zvuku, ktorý nič neobsahuje: najprv doň načítaj súbor a skontroluj, že load vrátilo true.
no_sound = {call} nevydá žiadny zvuk: {why}. Vráti false a program pokračuje potichu.
sound_busy = {call} bolo vynechané: súčasne už hrá najvyšší možný počet zvukov, {voices}. Zastav niektorý opakujúci sa zvuk alebo prehrávaj kratšie zvuky.
beep_unheard = beep({hz}, {ms}) nevydá žiadny zvuk: tón má 20 až 20000 Hz a trvá 1 až 10000 ms.
no_memory = nie je na to dosť pamäte
file_unreadable = súbor sa nedá prečítať ({why})
file_too_long = súbor je dlhší ako {bytes} {bytes:bajt|bajty|bajtov}
not_a_picture = nie je to obrázok, ktorý knižnica číta (BMP, PNG, JPEG, GIF alebo TGA): {why}
picture_cut_short = súbor je odseknutý
picture_header_broken = jeho hlavička BMP je odseknutá alebo poškodená
picture_claims = udáva rozmer {width} x {height} pixelov
picture_too_large = obrázok má {width} x {height} pixelov a plátno pojme najviac {most_width} x {most_height}
picture_larger_than_canvas = obrázok je väčší, než smie byť plátno ({most_width} x {most_height})
png_part_too_long = časť súboru PNG udáva viac bajtov, než súbor obsahuje
decoder_size = dekodér ho prečítal ako {width} x {height} pixelov
sdl_read_size = SDL ho prečítalo ako {width} x {height} pixelov
no_surface_made = plochu {width} x {height} nebolo možné vytvoriť ({why})
not_a_sound = nie je to zvuk, ktorý kavex číta: WAV (PCM) alebo OGG (Vorbis)
sound_too_long = je dlhší ako {minutes} {minutes:minúta|minúty|minút}
sound_channels = súbor udáva {channels} {channels:kanál|kanály|kanálov} pri {rate} Hz, čo žiadny zvuk nemá
wav_kind = je to súbor WAV druhu, ktorý sa tu nečíta (formát {format}, {bits} {bits:bit|bity|bitov}): ulož ho ako 16-bitový PCM WAV alebo ako OGG
wav_no_data = súbor WAV neobsahuje žiadny zvuk (chýba časť "data")
wav_damaged = súbor WAV je poškodený (chýba časť "fmt ")
ogg_damaged = nie je to zvuk Ogg Vorbis, alebo je poškodený (chyba dekodéra {error})
sound_holds_nothing = súbor neobsahuje žiadny zvuk
replay_silent = prehrávaný beh je tichý
page_needs_click = stránka hrá zvuk až po prvom kliknutí alebo stlačení klávesu
program_ended = program už skončil
browser_no_sound = prehliadač nedáva zvuk ({why})
replay_refused = beh sa nedá prehrať zo súboru {file}: {why}
record_failed = beh sa nedá nahrávať do súboru {file}: {why}
frames_stopped = obrázky behu sa už nezapisujú do priečinka {folder}: {why}
messages_refused = správy zo súboru {file} sa nepoužijú: {why}.
messages_line = riadok {line} nie je správa: napíš názov správy, "=" a jej text
messages_unknown = riadok {line}: žiadna správa sa nevolá "{name}"
messages_places = riadok {line}: {name} musí mať miesta {places}, rovnako ako anglická správa
messages_forms = riadok {line}: {name} uvádza {given} {given:tvar|tvary|tvarov} slova, no tento jazyk ich má {forms}
messages_missing = chýba správa {name}
)table";

}  // namespace kavex::detail
