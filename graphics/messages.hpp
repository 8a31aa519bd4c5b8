// Private to the library: the words of its explanations, in the student's
// language.
//
// Every message is a whole sentence (or, for a reason, a whole clause that
// follows a colon) in one table a language: messages_en.cpp, messages_hu.cpp,
// messages_cs.cpp, messages_sk.cpp, messages_pl.cpp. A table is plain text,
// one message a line, so that a translator works on one file without
// reading the code, and a course replaces messages with a file of the same
// form (KAVEX_MESSAGES=file). Its lines:
//
//   # a comment
//   move_refused = the pen cannot move to ({x}, {y}): ...
//   box_outside [checked] = ...      (a native speaker has read it)
//
// {x} is the value given for x. {rows:row|rows} is the form of the word that
// the number `rows` asks for: English has two forms (1, other), Polish,
// Czech and Slovak three (1; 2 to 4; 5 and more, and 0), Hungarian one, as a
// Hungarian noun stays singular after a number. A brace followed by anything
// but a small letter is itself: "while (gin) { ... }".
//
//   say(words(text::move_refused, {{"x", x}, {"y", y}, ...}));
#pragma once

#include <initializer_list>
#include <string>
#include <vector>

namespace kavex::detail {

// The messages, in the tables' order; message_names gives each its name.
enum class text {
    sdl_start,
    open_negative,
    open_too_large,
    open_refused,
    open_canvas_empty,
    open_window_missing,
    no_surface,
    no_surface_move,
    no_surface_source,
    move_refused,
    box_outside,
    text_not_drawn,
    text_utf8,
    text_cut_right,
    text_cut_bottom,
    save_failed,
    load_failed,
    load_on_window,
    refresh_unopened,
    wait_after_quit,
    interrupt,
    sound_load_failed,
    sound_empty,
    no_sound,
    sound_busy,
    beep_unheard,
    no_memory,
    file_unreadable,
    file_too_long,
    not_a_picture,
    picture_cut_short,
    picture_header_broken,
    picture_claims,
    picture_too_large,
    picture_larger_than_canvas,
    png_part_too_long,
    decoder_size,
    sdl_read_size,
    no_surface_made,
    not_a_sound,
    sound_too_long,
    sound_channels,
    wav_kind,
    wav_no_data,
    wav_damaged,
    ogg_damaged,
    sound_holds_nothing,
    replay_silent,
    page_needs_click,
    program_ended,
    browser_no_sound,
    replay_refused,
    record_failed,
    frames_stopped,
    messages_refused,
    messages_line,
    messages_unknown,
    messages_places,
    messages_forms,
    messages_missing,
    count
};

// The name of each message, as the tables write it, in the order of `text`.
const std::vector<std::string>& message_names();

// A value for one of a message's places: a number or a text.
struct place {
    place(const char* name, long long number) : name(name), value(std::to_string(number)) {}
    place(const char* name, std::string value) : name(name), value(std::move(value)) {}
    place(const char* name, const char* value) : name(name), value(value) {}
    const char* name;
    std::string value;
};

// The message in the chosen language, its places filled.
std::string words(text message, std::initializer_list<place> places = {});

// Why the messages of KAVEX_MESSAGES were refused, in the chosen language,
// once: "" after that, or when they were taken or there were none.
std::string messages_refusal();

// The chosen language: KAVEX_LANG when it names one of the tables'
// languages, otherwise the system's (os_side::system_language), otherwise
// English.
const std::string& language();

// What the tables are made of, for the tests and the replacement file's checks.
namespace tables {

// The languages that have a table, English first.
const std::vector<std::string>& languages();
// A language's table as the library holds it; empty for one it has not.
const char* built_in(const std::string& language);
// A language from a setting such as "hu_HU.UTF-8", "cs-CZ" or "pl": its
// code when a table has it, "" otherwise.
std::string code_of(const std::string& setting);
// The form (0, 1, 2) of a word after the number `n` in `language`, and how
// many forms the language has.
int form_for(const std::string& language, long long n);
int forms_of(const std::string& language);

// One line of a table.
struct entry {
    std::string text;
    bool checked = false;
};
// What is wrong with a table: `message` (text::count when nothing) says it,
// about `line` and the message `name`; `detail` is the places it must
// have, `given` and `forms` the word forms it gave and the language has.
struct problem {
    text message = text::count;
    int line = 0;
    std::string name, detail;
    long long given = 0, forms = 0;
    explicit operator bool() const { return message != text::count; }
};
// Reads `table` (in `language`) into `entries`, by message; entries it
// lacks stay as they were. A line that is not a message, a name no message
// has, places other than the English message's or word forms other than the
// language's are a problem; with `whole`, so is a message missing.
problem read(const std::string& table, const std::string& language, bool whole, std::vector<entry>& entries);
// The problem in the chosen language.
std::string worded(const problem& p);

}  // namespace tables

}  // namespace kavex::detail
