// Ticks and key repeats made inside the wait of a browser's SDL side
// (made_events.hpp).
#include "made_events.hpp"

#include "sdl_side.hpp"

#include <algorithm>

namespace kavex::made_events {

using sdl_side::tick_limit;

namespace {

// The longest the wait sleeps without a tick to wait for; input for the
// program ends the sleep at once (the side's sleep).
constexpr Uint32 longest_sleep = 250;

// The longest the program keeps the page's thread: a program that falls
// behind finds a tick waiting at every wait and would never sleep, and the
// browser would show no frame and take no input.
constexpr Uint32 hold_at_most = 20;
Uint32 last_slept = 0;

void sleep_for(const source& page, Uint32 ms) {
    page.sleep(ms);
    last_slept = page.now();
}

// The timer: ticks fall due every `period` ms from when it was started. At
// most `tick_limit` wait to be taken; while they wait, the ones that fall due
// are dropped, as on the desktop, so that a program that falls behind gets
// its keys and mouse at once and its ticks only as fast as it takes them.
int period = 0;
Uint32 next_due = 0;
Uint32 due[tick_limit];
int ticks_waiting = 0;

bool reached(Uint32 now, Uint32 moment) { return static_cast<Sint32>(now - moment) >= 0; }

void collect_ticks(Uint32 now) {
    if (period <= 0 || !reached(now, next_due)) return;
    const Uint32 fell_due = (now - next_due) / static_cast<Uint32>(period) + 1;
    for (Uint32 i = 0; i < fell_due && ticks_waiting < tick_limit; ++i)
        due[ticks_waiting++] = next_due + i * static_cast<Uint32>(period);
    next_due += fell_due * static_cast<Uint32>(period);
}

bool take_tick(SDL_Event& e) {
    if (ticks_waiting == 0) return false;
    e = SDL_Event{};
    e.user.type = SDL_USEREVENT;
    e.user.code = static_cast<int>(due[0]);  // when it was due, not when taken
    std::copy(due + 1, due + ticks_waiting, due);
    --ticks_waiting;
    return true;
}

// Key repeat. The browser repeats a held key at the system's pace, and its
// SDL passes each repeat on as a press; the desktop's SDL repeats nothing
// until asked, and then at the pace asked for. So the browser's repeats are
// dropped, and the last key pressed is repeated here, made in the wait like
// the timer's ticks. The browser repeats the last key pressed alone, so a
// press of that key while it is down is one of its repeats.
int repeat_delay = 0;
int repeat_interval = 0;
bool last_press_down = false;
SDL_Event last_press;
Uint32 next_repeat = 0;

bool repeating() { return repeat_interval > 0 && last_press_down; }

// False for a press that the browser repeated.
bool follow_repeats(const SDL_Event& e, Uint32 now) {
    switch (e.type) {
    case SDL_KEYDOWN:
        if (last_press_down && e.key.keysym.sym == last_press.key.keysym.sym) return false;
        last_press = e;
        last_press_down = true;
        next_repeat = now + static_cast<Uint32>(repeat_delay);
        return true;
    case SDL_KEYUP:
        if (e.key.keysym.sym == last_press.key.keysym.sym) last_press_down = false;
        return true;
    case SDL_ACTIVEEVENT:
        last_press_down = false;
        return true;
    default:
        return true;
    }
}

bool take_repeat(SDL_Event& e, Uint32 now) {
    if (!repeating() || !reached(now, next_repeat)) return false;
    e = last_press;
    next_repeat = now + static_cast<Uint32>(repeat_interval);  // a late repeat is not made up for
    return true;
}

// How long the wait may sleep: until the next tick or repeat falls due.
Uint32 sleep_span(Uint32 now) {
    Uint32 span = longest_sleep;
    if (period > 0) span = std::min(span, next_due - now);
    if (repeating()) span = std::min(span, next_repeat - now);
    return std::max<Uint32>(span, 1);
}

}  // namespace

bool wait(SDL_Event& e, const source& page) {
    if (page.now() - last_slept >= hold_at_most) sleep_for(page, 0);
    for (;;) {
        const Uint32 now = page.now();
        collect_ticks(now);
        // Input first: a program that falls behind still gets its keys and mouse.
        if (page.poll(e)) {
            if (follow_repeats(e, now)) return true;
            continue;
        }
        if (take_repeat(e, now) || take_tick(e)) return true;
        sleep_for(page, sleep_span(now));
    }
}

void key_repeat(int delay, int interval, Uint32 now) {
    repeat_delay = delay;
    repeat_interval = interval;
    next_repeat = now + static_cast<Uint32>(delay);
}

void timer(int new_period, Uint32 now) {
    period = new_period > 0 ? new_period : 0;
    next_due = now + static_cast<Uint32>(period);
}

}  // namespace kavex::made_events

// The SDL seam's waiting, for both browser sides, from the side's source.
namespace kavex::sdl_side {

bool wait(SDL_Event& e) { return made_events::wait(e, event_source()); }

void key_repeat(int delay, int interval) { made_events::key_repeat(delay, interval, event_source().now()); }

void timer(int period) { made_events::timer(period, event_source().now()); }

}  // namespace kavex::sdl_side
