// The library's messages in Czech, message for message as in English
// (messages_en.cpp); a translator edits only the lines of the table below.
namespace kavex::detail {

extern const char messages_cs[];
const char messages_cs[] = R"table(
# Čeština. Na každém řádku jedna zpráva: její název, "=", její text; do
# {složených} míst dá knihovna číslo nebo text (formát: messages_en.cpp).
# {n:řádek|řádky|řádků} je tvar slova po čísle n: 1; 2 až 4; 0 a 5 a víc.
sdl_start = SDL se nepodařilo spustit ({why}), proto program končí se stavem 1.
open_negative = {call}({width}, {height}) selhalo: rozměr nemůže být záporný.
open_too_large = {call}({width}, {height}) selhalo: knihovna kreslí nejvýše na {most_width} x {most_height} pixelů.
open_refused = {call}({width}, {height}) selhalo: {why}.
open_canvas_empty = Plátno nemá plochu, takže kreslení na něj nic nedělá.
open_window_missing = Žádné okno není, takže kreslení ani refresh nic nedělají.
no_surface = {call} na plátně, které nemá plochu, nic nedělá. Nejdřív ho otevři (gout.open(400, 300) nebo canvas c(200, 100)) a zkontroluj, že open vrátilo true.
no_surface_move = pero se nemůže pohnout na plátně, které nemá plochu. Nejdřív ho otevři (gout.open(400, 300) nebo canvas c(200, 100)) a zkontroluj, že open vrátilo true.
no_surface_source = blitfrom nic nezkopíruje z plátna, které nemá plochu. Nejdřív otevři zdrojové plátno (canvas c(200, 100)) nebo do něj načti obrázek a zkontroluj, že se to podařilo (true).
move_refused = pero se nemůže přesunout na ({x}, {y}): plocha má rozměr {width} x {height}, takže x musí ležet v rozsahu 0..{last_x} a y v rozsahu 0..{last_y}. Pero zůstává na ({pen_x}, {pen_y}) a další kreslení začne odtamtud.
box_outside = obdélník od pera ({pen_x}, {pen_y}) do ({x}, {y}) byl vynechán: tento roh leží mimo plochu {width} x {height} a obdélník se kreslí buď celý, nebo vůbec.
text_not_drawn = text "{text}" nebyl nakreslen: s perem na řádku {row} potřebují jeho písmena řádky {top} až {bottom}, ale plocha má řádky 0 až {last_row}. Dej pero aspoň {above} {above:řádek|řádky|řádků} pod horní okraj a {below} {below:řádek|řádky|řádků} nad dolní okraj.
text_utf8 = text "{text}" vypadá jako UTF-8 (takový je řetězec ve zdrojovém kódu): písmo bere jeden bajt na písmeno, takže každé písmeno s diakritikou se zobrazí jako dvě. Napiš draw_text(from_utf8("...")).
text_cut_right = text "{text}" byl zkrácen: dosáhl pravého okraje plochy, která je široká {width} {width:pixel|pixely|pixelů} (písmeno zabírá {letter}; twidth() řekne, jak široký text je).
text_cut_bottom = text "{text}" byl zkrácen: jeho další řádek by ležel pod dolním okrajem plochy, která je vysoká {height} {height:řádek|řádky|řádků} (řádek textu zabírá {line} {line:řádek|řádky|řádků}).
save_failed = save("{file}") selhalo: {why}. Žádný soubor nebyl zapsán a dřívější soubor téhož jména zůstal, jak byl.
load_failed = load("{file}") selhalo: {why}. Plátno nemá plochu, takže kreslení na něj nic nedělá.
load_on_window = load("{file}") do okna není dovoleno a okno zůstává, jak bylo: načti obrázek do vlastního plátna (canvas picture; picture.load("{file}")) a zkopíruj ho do okna pomocí gout.blitfrom(picture, 0, 0).
refresh_unopened = refresh okna, které není otevřené: nejdřív zavolej gout.open(width, height) a zkontroluj, že vrátilo true.
wait_after_quit = wait_event bylo po zavření okna zavoláno {times}krát a pokaždé hned vrátilo prázdnou událost. Ukonči cyklus, když gin přejde na false: while (gin) { gin.wait_event(ev); ... }
interrupt = Ctrl-C požádalo program o zavření: gin.wait_event teď vrací false. Cyklus, který nikdy nečeká na událost, běží dál; druhé Ctrl-C program okamžitě ukončí.
sound_load_failed = load("{file}") zvuku selhalo: {why}. Zvuk nic neobsahuje, takže jeho přehrání nic neudělá.
sound_empty = {call} zvuku, který nic neobsahuje: nejdřív do něj načti soubor a zkontroluj, že load vrátilo true.
no_sound = {call} nevydá žádný zvuk: {why}. Vrátí false a program pokračuje potichu.
sound_busy = {call} bylo vynecháno: současně už hraje nejvyšší možný počet zvuků, {voices}. Zastav některý opakující se zvuk, nebo přehrávej kratší zvuky.
beep_unheard = beep({hz}, {ms}) nevydá žádný zvuk: tón má 20 až 20000 Hz a trvá 1 až 10000 ms.
no_memory = není na to dost paměti
file_unreadable = soubor nelze přečíst ({why})
file_too_long = soubor je delší než {bytes} {bytes:bajt|bajty|bajtů}
not_a_picture = není to obrázek, který knihovna čte (BMP, PNG, JPEG, GIF nebo TGA): {why}
picture_cut_short = soubor je useknutý
picture_header_broken = jeho hlavička BMP je useknutá nebo poškozená
picture_claims = udává rozměr {width} x {height} pixelů
picture_too_large = obrázek má {width} x {height} pixelů a plátno pojme nejvýše {most_width} x {most_height}
picture_larger_than_canvas = obrázek je větší, než smí být plátno ({most_width} x {most_height})
png_part_too_long = část souboru PNG udává víc bajtů, než soubor obsahuje
decoder_size = dekodér ho přečetl jako {width} x {height} pixelů
sdl_read_size = SDL ho přečetlo jako {width} x {height} pixelů
no_surface_made = plochu {width} x {height} nebylo možné vytvořit ({why})
not_a_sound = není to zvuk, který kavex čte: WAV (PCM) nebo OGG (Vorbis)
sound_too_long = je delší než {minutes} {minutes:minuta|minuty|minut}
sound_channels = soubor udává {channels} {channels:kanál|kanály|kanálů} při {rate} Hz, což žádný zvuk nemá
wav_kind = je to soubor WAV druhu, který se zde nečte (formát {format}, {bits} {bits:bit|bity|bitů}): ulož ho jako 16bitový PCM WAV nebo jako OGG
wav_no_data = soubor WAV neobsahuje žádný zvuk (chybí část "data")
wav_damaged = soubor WAV je poškozený (chybí část "fmt ")
ogg_damaged = není to zvuk Ogg Vorbis, nebo je poškozený (chyba dekodéru {error})
sound_holds_nothing = soubor neobsahuje žádný zvuk
replay_silent = přehrávaný běh je tichý
page_needs_click = stránka hraje zvuk až po prvním kliknutí nebo stisku klávesy
program_ended = program už skončil
browser_no_sound = prohlížeč nedává zvuk ({why})
replay_refused = běh nelze přehrát ze souboru {file}: {why}
record_failed = běh nelze nahrávat do souboru {file}: {why}
frames_stopped = obrázky běhu se už nezapisují do složky {folder}: {why}
messages_refused = zprávy ze souboru {file} se nepoužijí: {why}.
messages_line = řádek {line} není zpráva: napiš název zprávy, "=" a její text
messages_unknown = řádek {line}: žádná zpráva se nejmenuje "{name}"
messages_places = řádek {line}: {name} musí mít místa {places}, stejně jako anglická zpráva
messages_forms = řádek {line}: {name} uvádí {given} {given:tvar|tvary|tvarů} slova, ale tento jazyk jich má {forms}
messages_missing = chybí zpráva {name}
)table";

}  // namespace kavex::detail
