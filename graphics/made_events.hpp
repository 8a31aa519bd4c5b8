// Private to the library's browser sides (sdl_side_web.cpp,
// sdl_side_playground.cpp): the wait of an SDL that cannot block, has no
// timer thread and repeats keys at the browser's pace. The timer's ticks and
// the keys' repeats are made here, inside the wait, in the desktop's form.
// made_events.cpp gives both sides the SDL seam's wait, timer and
// key_repeat, from the source that each side gives:
//
//   const made_events::source& event_source() {
//       static const made_events::source page{poll, now, sleep};
//       return page;
//   }
//
// which says how the side polls its input, tells the time and gives the
// page its thread back.
#pragma once

#include "graphics.hpp"

namespace kavex::made_events {

struct source {
    // The next input event, already in the desktop's form; false when none waits.
    bool (*poll)(SDL_Event& e);
    // Milliseconds since the start.
    Uint32 (*now)();
    // Gives the page its thread for up to `ms`, less when input comes.
    void (*sleep)(Uint32 ms);
};

// The next input event, tick or repeat. The browser repeats a held key at
// its own pace: those presses are dropped here, and the last key pressed is
// repeated as key_repeat() asks.
bool wait(SDL_Event& e, const source& page);
// As sdl_side::timer and sdl_side::key_repeat, from the time `now`.
void timer(int period, Uint32 now);
void key_repeat(int delay, int interval, Uint32 now);

}  // namespace kavex::made_events

namespace kavex::sdl_side {

const made_events::source& event_source();  // the side's (above)

}  // namespace kavex::sdl_side
