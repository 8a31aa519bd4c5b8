// Private to the library: where the wait's input comes from. Normally SDL;
// with KAVEX_RECORD=FILE in the environment, every input SDL gives is also
// written to FILE as a transcript (transcript.hpp); with KAVEX_REPLAY=FILE,
// the input comes from that transcript instead, with no display at all, and
// the run ends as a closed window ends when the transcript ends.
//
//   run_input::prepare();            // before SDL starts
//   while (run_input::next(e)) ...   // the wait's events, one by one
#pragma once

#include "graphics.hpp"

namespace kavex::run_input {

// Reads the environment; replaying, also reads the whole transcript and
// chooses SDL's display-less video driver. A transcript that cannot be read
// or is malformed ends the program with status 1 and says why, so that a
// run is never half replayed.
void prepare();
// The next input event; false when there is none (waiting failed, or the
// transcript has ended).
bool next(SDL_Event& e);
// True when the input comes from a transcript: then the program's timer and
// key repeat make nothing, since the transcript holds its ticks and repeats.
bool replaying();
// How many of the run's input events the wait has taken so far (the place
// of an event in its transcript, counting from 1).
unsigned long events_taken();
// At the end of the run: the recording's last lines.
void finish();

}  // namespace kavex::run_input
