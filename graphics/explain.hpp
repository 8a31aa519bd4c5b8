// Private to the library: a beginner's silent mistakes, explained on request.
//
// With KAVEX_EXPLAIN=1 in the environment (or, in a program built with
// KAVEX_EXPLAIN_BY_DEFAULT, unless KAVEX_EXPLAIN=0), the first mistake of
// each kind in a run writes one line to standard error, in plain words with
// the numbers involved, in the student's language (messages.hpp); otherwise
// nothing is written. Only the paths that fail call these, so drawing that
// succeeds pays nothing.
//
//   explain(mistake::box_outside, [&] { return words(text::box_outside, {...}); });
#pragma once

#include "messages.hpp"
#include "out_of_memory.hpp"

#include <string>

namespace kavex {
class canvas;
}

namespace kavex::detail {

enum class mistake {
    sdl_start,
    open_failed,
    no_surface,
    move_refused,
    box_outside,
    text_not_drawn,
    text_cut,
    text_utf8,
    save_failed,
    load_failed,
    refresh_unopened,
    wait_after_quit,
    sound_load_failed,
    sound_empty,
    no_sound,
    sound_busy,
    beep_unheard,
    kinds
};

// True once per kind, and only with KAVEX_EXPLAIN set (to anything but 0).
bool explaining(mistake kind);
// True when KAVEX_EXPLAIN asks for explanations at all: for the checks that
// look for a mistake in what succeeded, which only then are worth their time.
bool explaining_on();
// The Ctrl-C notice, one line in the chosen language, made before any
// signal comes; "" when explanations are off.
const char* interrupt_notice();
// Writes "kavex: " and the message as one line to standard error.
void say(const std::string& message);

// Says what went wrong, the first time a mistake of this kind happens and
// only when KAVEX_EXPLAIN asks: `message` is called then, and only then, to
// word it. A message that cannot be made (no memory) is left unsaid.
template <class Message>
void explain(mistake kind, const Message& message) {
    if (!explaining(kind)) return;
    unless_out_of_memory([&] { say(message()); }, [] {});
}

// Text in the font's bytes, as a message quotes it: its first 40 characters,
// written back in UTF-8 so that the terminal shows the program's letters.
std::string quoted(const std::string& font_text);
// The same text in UTF-8 (charset.cpp).
std::string font_to_utf8(const std::string& font_text);
// True when the text holds a byte pair that UTF-8 makes of a letter ("é" as
// the two bytes C3 A9): a UTF-8 string given to draw_text as it stands.
bool looks_like_utf8(const std::string& font_text);

// The end of every open, a canvas's and the window's (`call` names it as the
// program wrote it): the pen at the centre of the size asked for, whether a
// surface came or not, and where none came, why, with what follows for the
// program (`consequence`). Returns whether one came.
bool end_open(canvas& c, const char* call, unsigned width, unsigned height, text consequence);

// A call on a canvas with no surface, when its message is not "{call} on a
// canvas that has no surface" (graphics_inline.hpp declares that one).
void explain_no_surface_of(text message);

}  // namespace kavex::detail
