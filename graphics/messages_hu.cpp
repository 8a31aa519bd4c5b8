// The library's messages in Hungarian, message for message as in English
// (messages_en.cpp); a translator edits only the lines of the table below.
namespace kavex::detail {

extern const char messages_hu[];
const char messages_hu[] = R"table(
# Magyar. Soronként egy üzenet: a neve, "=", a szövege; a {kapcsos} helyekre
# a könyvtár számot vagy szöveget tesz (a formátum: messages_en.cpp).
# A magyar főnév szám után egyes számban marad, ezért nincs {n:alak} hely;
# a számokhoz nem kerül rag és névelő, hogy minden számmal helyes legyen.
sdl_start = az SDL nem tudott elindulni ({why}), ezért a program az 1-es kilépési kóddal véget ér.
open_negative = nem sikerült ez a hívás: {call}({width}, {height}). Egy méret nem lehet negatív.
open_too_large = nem sikerült ez a hívás: {call}({width}, {height}). A könyvtár legfeljebb {most_width} x {most_height} képpont méretű felületre rajzol.
open_refused = nem sikerült ez a hívás: {call}({width}, {height}). Az ok: {why}.
open_canvas_empty = A vászonnak nincs rajzfelülete, ezért semmi sem rajzolódik rá.
open_window_missing = Nincs ablak, ezért a rajzolás és a refresh nem csinál semmit.
no_surface = a {call} hívás nem csinál semmit egy vásznon, amelynek nincs rajzfelülete. Előbb nyisd meg (gout.open(400, 300) vagy canvas c(200, 100)), és ellenőrizd, hogy az open true értéket adott-e vissza.
no_surface_move = a toll nem mozdulhat el egy vásznon, amelynek nincs rajzfelülete. Előbb nyisd meg (gout.open(400, 300) vagy canvas c(200, 100)), és ellenőrizd, hogy az open true értéket adott-e vissza.
no_surface_source = a blitfrom semmit sem másol egy vászonról, amelynek nincs rajzfelülete. Előbb nyisd meg a forrásvásznat (canvas c(200, 100)), vagy tölts bele egy képet, és ellenőrizd, hogy true értéket kaptál-e.
move_refused = a toll nem léphet ide: ({x}, {y}). A rajzfelület mérete {width} x {height}, ezért x csak 0 és {last_x}, y csak 0 és {last_y} között lehet. A toll ott marad, ahol volt: ({pen_x}, {pen_y}), és a következő rajzolás onnan indul.
box_outside = a téglalap kimaradt: a tollal átellenes sarka, ({x}, {y}), kívül esik a rajzfelületen, amelynek mérete {width} x {height}. A toll itt áll: ({pen_x}, {pen_y}). Egy téglalap vagy egészben rajzolódik ki, vagy sehogy.
text_not_drawn = ez a szöveg nem rajzolódott ki: "{text}". A toll sora {row}, a betűknek ekkor ezek a sorok kellenének: {top}–{bottom}, a rajzfelület sorai viszont: 0–{last_row}. Tedd a tollat legalább {above} sorral a felső szél alá, és legalább {below} sorral az alsó szél fölé.
text_utf8 = ez a szöveg UTF-8-nak látszik (amilyen a forráskódba írt szöveg): "{text}". A betűkészlet betűnként egy bájtot vár, ezért minden ékezetes betű két jelként jelenik meg. Írd így: draw_text(from_utf8("...")).
text_cut_right = ez a szöveg csonkán rajzolódott ki: "{text}". Elérte a rajzfelület jobb szélét; a felület {width} képpont széles, egy betű {letter} képpontot foglal (a twidth() megmondja, milyen széles egy szöveg).
text_cut_bottom = ez a szöveg csonkán rajzolódott ki: "{text}". A következő sora a rajzfelület alja alá kerülne; a felület {height} sor magas, egy szövegsor {line} sort foglal.
save_failed = a save("{file}") nem sikerült: {why}. Nem készült fájl, és egy korábbi, azonos nevű fájl változatlan maradt.
load_failed = a load("{file}") nem sikerült: {why}. A vászonnak nincs rajzfelülete, ezért semmi sem rajzolódik rá.
load_on_window = a load("{file}") az ablakon nem megengedett, és az ablak változatlan marad: töltsd be a képet egy saját vászonba (canvas picture; picture.load("{file}")), és másold az ablakra a gout.blitfrom(picture, 0, 0) hívással.
refresh_unopened = refresh egy meg nem nyitott ablakon: előbb hívd meg a gout.open(width, height) függvényt, és ellenőrizd, hogy true értéket adott-e vissza.
wait_after_quit = a wait_event az ablak bezárása után {times} alkalommal futott le, és minden alkalommal azonnal üres eseményt adott. Fejezd be a ciklust, amikor a gin hamissá válik: while (gin) { gin.wait_event(ev); ... }
interrupt = a Ctrl-C a program bezárását kérte: a gin.wait_event ezentúl false értéket ad. Egy ciklus, amely sosem vár eseményre, tovább fut; egy második Ctrl-C azonnal leállítja a programot.
sound_load_failed = egy hang betöltése, load("{file}"), nem sikerült: {why}. A hang üres, ezért a lejátszása sem szól.
sound_empty = {call} egy üres hangon: előbb tölts bele egy fájlt, és ellenőrizd, hogy a load true értéket adott-e vissza.
no_sound = a {call} nem ad hangot: {why}. Az eredménye false, és a program hang nélkül fut tovább.
sound_busy = a {call} kimaradt: már {voices} hang szól egyszerre. Állíts le egy ismétlődő hangot, vagy játssz le rövidebbeket.
beep_unheard = a beep({hz}, {ms}) nem ad hangot: egy hang magassága 20 és 20000 Hz, hossza 1 és 10000 ms között lehet.
no_memory = nincs hozzá elég memória
file_unreadable = a fájl nem olvasható ({why})
file_too_long = a fájl hosszabb, mint {bytes} bájt
not_a_picture = ez nem olyan kép, amelyet a könyvtár olvasni tud (BMP, PNG, JPEG, GIF vagy TGA): {why}
picture_cut_short = a fájl csonka
picture_header_broken = a BMP fejléce csonka vagy hibás
picture_claims = a fájl szerint a kép mérete {width} x {height} képpont
picture_too_large = a kép mérete {width} x {height} képpont, egy vászon viszont legfeljebb {most_width} x {most_height} képpontos lehet
picture_larger_than_canvas = a kép nagyobb, mint amekkora egy vászon lehet ({most_width} x {most_height})
png_part_too_long = a PNG-fájl egyik része több bájtot állít magáról, mint amennyi a fájlban van
decoder_size = a dekóder szerint a mérete {width} x {height} képpont
sdl_read_size = az SDL szerint a mérete {width} x {height} képpont
no_surface_made = nem sikerült {width} x {height} méretű felületet létrehozni ({why})
not_a_sound = ez nem olyan hang, amelyet a kavex olvasni tud: WAV (PCM) vagy OGG (Vorbis)
sound_too_long = hosszabb, mint {minutes} perc
sound_channels = a fájl szerint a hang {channels} csatornás, {rate} Hz-es, ilyen hang pedig nincs
wav_kind = ez olyan WAV-fájl, amelyet a kavex nem olvas (formátum: {format}, bitmélység: {bits}): mentsd 16 bites PCM WAV-ként vagy OGG-ként
wav_no_data = a WAV-fájlban nincs hang (hiányzik a "data" rész)
wav_damaged = a WAV-fájl sérült (hiányzik az "fmt " rész)
ogg_damaged = ez nem Ogg Vorbis hang, vagy sérült (dekóderhiba: {error})
sound_holds_nothing = a fájlban nincs hang
replay_silent = egy visszajátszott futás néma
page_needs_click = az oldal csak az első kattintás vagy billentyűleütés után ad hangot
program_ended = a program már véget ért
browser_no_sound = a böngésző nem ad hangot ({why})
replay_refused = a futás nem játszható vissza ebből: {file}: {why}
record_failed = a futás nem rögzíthető ide: {file}: {why}
frames_stopped = a futás képei nem íródnak tovább ebbe a mappába: {folder}: {why}
messages_refused = ennek a fájlnak az üzenetei nem lépnek érvénybe: {file}: {why}.
messages_line = {line}. sor: ez nem üzenet; írd így: az üzenet neve, "=" és a szövege
messages_unknown = {line}. sor: nincs ilyen nevű üzenet: "{name}"
messages_places = {line}. sor: ebben az üzenetben ({name}) ezeknek a helyeknek kell szerepelniük, ahogy az angolban: {places}
messages_forms = {line}. sor: ez az üzenet ({name}) {given} szóalakot ad meg, ez a nyelv viszont {forms} alakot használ
messages_missing = hiányzik egy üzenet: {name}
)table";

}  // namespace kavex::detail
