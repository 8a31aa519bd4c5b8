// Private to the library: a beginner's silent mistakes, explained on request.
//
// With KAVEX_EXPLAIN=1 in the environment, the first mistake of each kind in
// a run writes one line to standard error, in plain words with the numbers
// involved; without it nothing is written. Only the paths that fail call
// these, so drawing that succeeds pays nothing.
//
//   if (explaining(mistake::box_outside)) explain("a box ... was left out");
#pragma once

#include <string>

namespace kavex::internal {

enum class mistake {
    sdl_start,
    open_failed,
    no_surface,
    move_refused,
    box_outside,
    text_not_drawn,
    text_cut,
    save_failed,
    refresh_unopened,
    wait_after_quit,
    kinds
};

// True once per kind, and only with KAVEX_EXPLAIN set (to anything but 0):
// the caller then says what went wrong.
bool explaining(mistake kind);
// Writes "kavex: " and the message as one line to standard error.
void explain(const std::string& message);

// "W x H", a surface's size as the explanations give it.
std::string size_text(long long width, long long height);

// An open (`call` names it as the program wrote it) of that size failed;
// `consequence` says what follows for the program.
void explain_failed_open(const char* call, unsigned width, unsigned height, const char* consequence);

}  // namespace kavex::internal
