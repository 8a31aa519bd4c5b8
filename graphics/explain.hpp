// Private to the library: a beginner's silent mistakes, explained on request.
//
// With KAVEX_EXPLAIN=1 in the environment, the first mistake of each kind in
// a run writes one line to standard error, in plain words with the numbers
// involved; without it nothing is written. Only the paths that fail call
// these, so drawing that succeeds pays nothing.
//
//   explain(mistake::box_outside, [&] { return "a box ... was left out"; });
#pragma once

#include <new>
#include <string>

namespace kavex::detail {

enum class mistake {
    sdl_start,
    open_failed,
    no_surface,
    move_refused,
    box_outside,
    text_not_drawn,
    text_cut,
    save_failed,
    load_failed,
    refresh_unopened,
    wait_after_quit,
    kinds
};

// True once per kind, and only with KAVEX_EXPLAIN set (to anything but 0).
bool explaining(mistake kind);
// Writes "kavex: " and the message as one line to standard error.
void say(const std::string& message);

// Says what went wrong, the first time a mistake of this kind happens and
// only when KAVEX_EXPLAIN asks: `message` is called then, and only then, to
// word it. A message that cannot be made (no memory) is left unsaid.
template <class Message>
void explain(mistake kind, const Message& message) {
    if (!explaining(kind)) return;
    try {
        say(message());
    } catch (const std::bad_alloc&) {
    }
}

// "W x H", a surface's size as the explanations give it.
std::string size_text(long long width, long long height);

// An open (`call` names it as the program wrote it) of that size failed;
// `consequence` says what follows for the program.
void explain_failed_open(const char* call, unsigned width, unsigned height, const char* consequence);

}  // namespace kavex::detail
