// Private to the library (and to kavex-check): a run's input as text, one
// event a line, for recording a run and replaying it (run_input.hpp).
//
//   kavex run 1                 the first line: the format and its version
//   # a comment; blank lines and everything after a word that starts with # are skipped
//   press w                     a key pressed (again while held: a repeat)
//   press w W                   ... typing W (Shift was down)
//   release w                   a key let go
//   hold w 30                   press w, 30 ticks, release w
//   move 120 200                the mouse moved there
//   down 1 120 200              mouse button 1 pressed there (up: released,
//   click 1 120 200             click: pressed and released)
//   tick 1040                   a timer tick whose value is 1040
//   ticks 30                    30 ticks, each 40 after the one before
//   ticks 30 every 20           ... each 20 after the one before
//   unfocus                     the window lost the keyboard (its keys let go)
//   close                       the window's close request
//
// The first of a run of ticks comes that far after the last tick, or at that
// value when no tick came yet. A key is a name (a, 7, space, return, escape,
// tab, backspace, delete, up, down, left, right, home, end, pageup, pagedown,
// insert, f1 to f15, lshift, rshift, lctrl, rctrl, lalt, ralt, lsuper,
// rsuper, menu, numlock, capslock, scrolllock, kp0 to kp9, kpenter...), sym
// with SDL's number for a key without a name (sym92), or scan with the
// scancode of a key that SDL gives no symbol (scan94). A capital letter
// names its key too. The character a press types follows the key: itself,
// or U+ and its hex number (U+0020 a space, U+0000 none); when none is
// given, a key whose SDL symbol is ASCII types that, and a release types
// nothing.
#pragma once

// SDL's own header, not graphics.hpp: kavex-check reads transcripts too, and
// must not start SDL as a program on kavex does.
#include <SDL/SDL.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace kavex::transcript {

inline constexpr const char* first_line = "kavex run 1";
// A longer run is refused rather than held in memory.
constexpr std::size_t most_events = 1000000;
// Ticks written without a spacing come this far apart.
constexpr std::int32_t tick_spacing = 40;

// The events of a whole transcript, in order, as SDL would have given them;
// false and nothing in `events` when any line is malformed, with its number
// and what is wrong in `error` ("line 7: ...").
bool read(const std::string& text, std::vector<SDL_Event>& events, std::string& error);

// Writes events as lines, a run of ticks evenly spaced as one line.
class writer {
public:
    // The lines that `e` completes, appended to `out`; nothing for an event
    // that a transcript does not hold.
    void add(const SDL_Event& e, std::string& out);
    // The run of ticks still open.
    void finish(std::string& out);
    // Whether a transcript holds this kind of event at all.
    static bool holds(const SDL_Event& e);

private:
    std::int32_t last_tick_ = 0;
    std::int32_t run_spacing_ = 0;
    long run_length_ = 0;  // ticks after the last one written
};

}  // namespace kavex::transcript
