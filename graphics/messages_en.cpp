// The library's messages in English: the table that every other language's
// follows, message for message and place for place (messages.hpp).
namespace kavex::detail {

extern const char messages_en[];
const char messages_en[] = R"table(
# English: the table every other language follows, message for message and
# place for place. One message a line: its name, "=", its text. {x} is the
# number or text the library puts there; {n:row|rows} is the word's form for
# the number n (1; other). "name [checked] =" marks a message that a native
# speaker has read. A brace before anything but a small letter is itself.
sdl_start = SDL could not start ({why}), so the program ends with status 1.
open_negative = {call}({width}, {height}) failed: a size cannot be negative.
open_too_large = {call}({width}, {height}) failed: the library draws on at most {most_width} x {most_height} pixels.
open_refused = {call}({width}, {height}) failed: {why}.
open_canvas_empty = The canvas has no surface, so drawing on it does nothing.
open_window_missing = There is no window, so drawing and refresh do nothing.
no_surface = {call} on a canvas that has no surface does nothing. Open it first (gout.open(400, 300), or canvas c(200, 100)) and check that open returned true.
no_surface_move = a move of the pen on a canvas that has no surface does nothing. Open it first (gout.open(400, 300), or canvas c(200, 100)) and check that open returned true.
no_surface_source = blitfrom copies nothing from a canvas that has no surface. Open the source canvas first (canvas c(200, 100), or load a picture into it) and check that it returned true.
move_refused = the pen cannot move to ({x}, {y}): the surface is {width} x {height}, so x must lie in 0..{last_x} and y in 0..{last_y}. The pen stays at ({pen_x}, {pen_y}), and the next drawing starts there.
box_outside = a box from the pen ({pen_x}, {pen_y}) to ({x}, {y}) was left out: that corner lies outside the {width} x {height} surface, and a box is drawn whole or not at all.
text_not_drawn = the text "{text}" was not drawn: with the pen on row {row} its letters need rows {top} to {bottom}, and the surface has rows 0 to {last_row}. Put the pen at least {above} {above:row|rows} below the top and {below} above the bottom.
text_utf8 = the text "{text}" looks like UTF-8 (as a string in the source is): the font takes one byte a letter, so each accented letter shows as two. Write draw_text(from_utf8("...")).
text_cut_right = the text "{text}" was cut short: it reached the right edge of the surface, which is {width} {width:pixel|pixels} wide (a letter takes {letter}; twidth() tells how wide a text is).
text_cut_bottom = the text "{text}" was cut short: its next line would lie below the bottom of the surface, which is {height} {height:row|rows} high (a line takes {line} {line:row|rows}).
save_failed = save("{file}") failed: {why}. No file was written, and an earlier file of that name is as it was.
load_failed = load("{file}") failed: {why}. The canvas has no surface, so drawing on it does nothing.
load_on_window = load("{file}") on the window is refused, and the window stays as it was: load the picture into a canvas of its own (canvas picture; picture.load("{file}")) and copy it onto the window with gout.blitfrom(picture, 0, 0).
refresh_unopened = refresh of a window that is not open: call gout.open(width, height) first, and check that it returned true.
wait_after_quit = wait_event was called {times} times after the window was closed, and each call returned an empty event at once. End the loop when gin turns false: while (gin) { gin.wait_event(ev); ... }
interrupt = Ctrl-C asked the program to close: gin.wait_event now returns false. A loop that never waits for an event goes on; a second Ctrl-C ends the program at once.
sound_load_failed = load("{file}") of a sound failed: {why}. The sound holds nothing, so playing it does nothing.
sound_empty = {call} of a sound that holds nothing: load a file into it first, and check that load returned true.
no_sound = {call} makes no sound: {why}. It returns false, and the program goes on in silence.
sound_busy = {call} was left out: {voices} sounds already play. Stop a looping one, or play shorter sounds.
beep_unheard = beep({hz}, {ms}) makes no sound: a tone is 20 to 20000 Hz, and 1 to 10000 ms long.
no_memory = there is not enough memory for it
file_unreadable = the file cannot be read ({why})
file_too_long = the file is longer than {bytes} bytes
not_a_picture = it is not a picture the library reads (BMP, PNG, JPEG, GIF or TGA): {why}
picture_cut_short = the file is cut short
picture_header_broken = its BMP header is cut short or broken
picture_claims = it claims {width} x {height} pixels
picture_too_large = the picture is {width} x {height} pixels, and a canvas holds at most {most_width} x {most_height}
picture_larger_than_canvas = the picture is larger than a canvas may be, {most_width} x {most_height}
png_part_too_long = a part of the PNG file claims more bytes than the file holds
decoder_size = the decoder read it as {width} x {height} pixels
sdl_read_size = SDL read it as {width} x {height} pixels
no_surface_made = no surface of {width} x {height} could be made ({why})
not_a_sound = it is not a sound kavex reads: WAV (PCM) or OGG (Vorbis)
sound_too_long = it is longer than {minutes} minutes
sound_channels = the file gives {channels} channels at {rate} Hz, which no sound has
wav_kind = it is a WAV file of a kind not read here (format {format}, {bits} bits): save it as 16-bit PCM WAV, or as OGG
wav_no_data = the WAV file holds no sound (no "data" part)
wav_damaged = the WAV file is damaged (no "fmt " part)
ogg_damaged = it is not an Ogg Vorbis sound, or it is damaged (decoder error {error})
sound_holds_nothing = the file holds no sound
replay_silent = a replayed run is silent
page_needs_click = the page plays sound only after its first click or key
program_ended = the program has ended
browser_no_sound = the browser gives no sound ({why})
replay_refused = cannot replay {file}: {why}
record_failed = cannot record the run to {file}: {why}
frames_stopped = the pictures of the run are not written to {folder} any more: {why}
messages_refused = the messages in {file} are not used: {why}.
messages_line = line {line} is not a message: write a message's name, "=" and its text
messages_unknown = line {line}: no message is called "{name}"
messages_places = line {line}: {name} must have the places {places}, as the English message has
messages_forms = line {line}: {name} gives {given} word {given:form|forms} where this language has {forms}
messages_missing = the message {name} is missing
)table";

}  // namespace kavex::detail
