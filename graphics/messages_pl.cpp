// The library's messages in Polish, message for message as in English
// (messages_en.cpp); a translator edits only the lines of the table below.
namespace kavex::detail {

extern const char messages_pl[];
const char messages_pl[] = R"table(
# Polski. W każdym wierszu jeden komunikat: jego nazwa, "=", jego tekst; w
# miejsca {w klamrach} biblioteka wstawia liczbę albo tekst (format:
# messages_en.cpp). {n:wiersz|wiersze|wierszy} to forma słowa po liczbie n:
# 1; 2 do 4 (oprócz 12 do 14) i 22 do 24 itd.; pozostałe.
sdl_start = nie udało się uruchomić SDL ({why}), więc program kończy się ze statusem 1.
open_negative = {call}({width}, {height}) nie powiodło się: rozmiar nie może być ujemny.
open_too_large = {call}({width}, {height}) nie powiodło się: biblioteka rysuje najwyżej na {most_width} x {most_height} pikseli.
open_refused = {call}({width}, {height}) nie powiodło się: {why}.
open_canvas_empty = Płótno nie ma powierzchni, więc rysowanie na nim nic nie robi.
open_window_missing = Nie ma okna, więc rysowanie i refresh nic nie robią.
no_surface = {call} na płótnie, które nie ma powierzchni, nic nie robi. Najpierw je otwórz (gout.open(400, 300) albo canvas c(200, 100)) i sprawdź, czy open zwróciło true.
no_surface_move = pióro nie może się ruszyć na płótnie, które nie ma powierzchni. Najpierw je otwórz (gout.open(400, 300) albo canvas c(200, 100)) i sprawdź, czy open zwróciło true.
no_surface_source = blitfrom nic nie skopiuje z płótna, które nie ma powierzchni. Najpierw otwórz płótno źródłowe (canvas c(200, 100)) albo wczytaj do niego obrazek i sprawdź, czy się udało (true).
move_refused = pióro nie może przejść do ({x}, {y}): powierzchnia ma rozmiar {width} x {height}, więc x musi leżeć w zakresie 0..{last_x}, a y w zakresie 0..{last_y}. Pióro zostaje w ({pen_x}, {pen_y}) i następne rysowanie zacznie się stamtąd.
box_outside = prostokąt od pióra ({pen_x}, {pen_y}) do ({x}, {y}) został pominięty: ten róg leży poza powierzchnią {width} x {height}, a prostokąt rysuje się w całości albo wcale.
text_not_drawn = tekst "{text}" nie został narysowany: przy piórze w wierszu {row} jego litery potrzebują wierszy od {top} do {bottom}, a powierzchnia ma wiersze od 0 do {last_row}. Ustaw pióro co najmniej {above} {above:wiersz|wiersze|wierszy} poniżej górnej krawędzi i {below} {below:wiersz|wiersze|wierszy} powyżej dolnej.
text_utf8 = tekst "{text}" wygląda na UTF-8 (taki jest napis w kodzie źródłowym): czcionka bierze jeden bajt na literę, więc każda litera ze znakiem diakrytycznym pokazuje się jako dwie. Napisz draw_text(from_utf8("...")).
text_cut_right = tekst "{text}" został ucięty: doszedł do prawej krawędzi powierzchni, która ma {width} {width:piksel|piksele|pikseli} szerokości (litera zajmuje {letter}; twidth() mówi, jak szeroki jest tekst).
text_cut_bottom = tekst "{text}" został ucięty: jego następny wiersz leżałby poniżej dolnej krawędzi powierzchni, która ma {height} {height:wiersz|wiersze|wierszy} wysokości (wiersz tekstu zajmuje {line} {line:wiersz|wiersze|wierszy}).
save_failed = save("{file}") nie powiodło się: {why}. Żaden plik nie został zapisany, a wcześniejszy plik o tej nazwie pozostał bez zmian.
load_failed = load("{file}") nie powiodło się: {why}. Płótno nie ma powierzchni, więc rysowanie na nim nic nie robi.
load_on_window = load("{file}") do okna jest niedozwolone i okno zostaje bez zmian: wczytaj obrazek do osobnego płótna (canvas picture; picture.load("{file}")) i skopiuj go do okna przez gout.blitfrom(picture, 0, 0).
refresh_unopened = refresh okna, które nie jest otwarte: najpierw wywołaj gout.open(width, height) i sprawdź, czy zwróciło true.
wait_after_quit = wait_event zostało wywołane {times} {times:raz|razy|razy} po zamknięciu okna i za każdym razem od razu zwróciło puste zdarzenie. Zakończ pętlę, gdy gin stanie się fałszem: while (gin) { gin.wait_event(ev); ... }
interrupt = Ctrl-C poprosiło program o zamknięcie: gin.wait_event zwraca teraz false. Pętla, która nigdy nie czeka na zdarzenie, działa dalej; drugie Ctrl-C natychmiast kończy program.
sound_load_failed = load("{file}") dźwięku nie powiodło się: {why}. Dźwięk jest pusty, więc jego odtwarzanie nic nie robi.
sound_empty = {call} dźwięku, który jest pusty: najpierw wczytaj do niego plik i sprawdź, czy load zwróciło true.
no_sound = {call} nie wydaje dźwięku: {why}. Zwraca false, a program działa dalej w ciszy.
sound_busy = {call} zostało pominięte: naraz gra już najwięcej dźwięków, ile się da, czyli {voices}. Zatrzymaj któryś zapętlony dźwięk albo odtwarzaj krótsze.
beep_unheard = beep({hz}, {ms}) nie wydaje dźwięku: ton ma od 20 do 20000 Hz i trwa od 1 do 10000 ms.
no_memory = brakuje na to pamięci
file_unreadable = nie można odczytać pliku ({why})
file_too_long = plik jest dłuższy niż {bytes} {bytes:bajt|bajty|bajtów}
not_a_picture = to nie jest obrazek, który biblioteka czyta (BMP, PNG, JPEG, GIF albo TGA): {why}
picture_cut_short = plik jest ucięty
picture_header_broken = jego nagłówek BMP jest ucięty albo uszkodzony
picture_claims = podaje rozmiar {width} x {height} pikseli
picture_too_large = obrazek ma {width} x {height} pikseli, a płótno mieści najwyżej {most_width} x {most_height}
picture_larger_than_canvas = obrazek jest większy, niż może być płótno ({most_width} x {most_height})
png_part_too_long = część pliku PNG podaje więcej bajtów, niż plik zawiera
decoder_size = dekoder odczytał go jako {width} x {height} pikseli
sdl_read_size = SDL odczytało go jako {width} x {height} pikseli
no_surface_made = nie udało się utworzyć powierzchni {width} x {height} ({why})
not_a_sound = to nie jest dźwięk, który kavex czyta: WAV (PCM) albo OGG (Vorbis)
sound_too_long = jest dłuższy niż {minutes} {minutes:minuta|minuty|minut}
sound_channels = plik podaje {channels} {channels:kanał|kanały|kanałów} przy {rate} Hz, czego nie ma żaden dźwięk
wav_kind = to plik WAV rodzaju, którego tu się nie czyta (format {format}, {bits} {bits:bit|bity|bitów}): zapisz go jako 16-bitowy PCM WAV albo jako OGG
wav_no_data = plik WAV nie zawiera dźwięku (brak części "data")
wav_damaged = plik WAV jest uszkodzony (brak części "fmt ")
ogg_damaged = to nie jest dźwięk Ogg Vorbis albo jest uszkodzony (błąd dekodera {error})
sound_holds_nothing = plik nie zawiera dźwięku
replay_silent = odtwarzany przebieg jest cichy
page_needs_click = strona gra dźwięk dopiero po pierwszym kliknięciu lub naciśnięciu klawisza
program_ended = program już się zakończył
browser_no_sound = przeglądarka nie daje dźwięku ({why})
replay_refused = nie można odtworzyć przebiegu z pliku {file}: {why}
record_failed = nie można nagrywać przebiegu do pliku {file}: {why}
frames_stopped = obrazki przebiegu nie są już zapisywane do folderu {folder}: {why}
messages_refused = komunikaty z pliku {file} nie zostaną użyte: {why}.
messages_line = wiersz {line} nie jest komunikatem: napisz nazwę komunikatu, "=" i jego tekst
messages_unknown = wiersz {line}: żaden komunikat nie nazywa się "{name}"
messages_places = wiersz {line}: {name} musi mieć miejsca {places}, tak jak komunikat angielski
messages_forms = wiersz {line}: {name} podaje {given} {given:formę|formy|form} słowa, a ten język ma ich {forms}
messages_missing = brakuje komunikatu {name}
)table";

}  // namespace kavex::detail
