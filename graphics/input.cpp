// The input source: SDL's events as one record, and the periodic timer.
#include "graphics.hpp"
#include "keys.inc"

#include <atomic>
#include <cstring>
#include <new>
#include <type_traits>

namespace kavex {

namespace {

SDL_TimerID timer_id = nullptr;

// SDL's queue holds only 127 events (128 on the compatibility library). A
// program whose frame takes longer than the timer period would let ticks
// fill it, and from then on SDL would drop keys, mouse events and even the
// close request. So at most `tick_limit` ticks wait in the queue: the timer
// thread counts the ticks it pushed, the main thread counts down the ones it
// takes, and a tick that would pass the limit is dropped.
constexpr int tick_limit = 2;
std::atomic<int> ticks_waiting{0};

// Marks the timer's own ticks. An SDL_USEREVENT pushed by anyone else is
// reported as a tick too, but it was never counted, so it is not counted down.
char timer_mark;

bool reserve_tick() {
    int waiting = ticks_waiting.load();
    while (waiting < tick_limit)
        if (ticks_waiting.compare_exchange_weak(waiting, waiting + 1)) return true;
    return false;
}

// Never below zero, whatever happens to the queue.
void release_tick() {
    int waiting = ticks_waiting.load();
    while (waiting > 0 && !ticks_waiting.compare_exchange_weak(waiting, waiting - 1)) {
    }
}

// Runs on SDL's timer thread: only the counter and SDL's own queue are touched.
Uint32 timer_event(Uint32 interval, void*) {
    if (!reserve_tick()) return interval;  // the program is behind: drop this tick
    SDL_Event tick{};
    tick.user.type = SDL_USEREVENT;
    tick.user.code = static_cast<int>(SDL_GetTicks());  // when it fired, not when taken
    tick.user.data1 = &timer_mark;
    if (SDL_PushEvent(&tick) != 0) release_tick();  // the queue is full of other events
    return interval;
}

// A pushed event may carry any number as its key symbol, and SDLKey has no
// value for most of them: loading such a symbol as an SDLKey would be
// undefined, so its bytes are read as the integer they hold.
int symbol_of(const SDL_keysym& keysym) {
    std::underlying_type_t<SDLKey> raw;
    static_assert(sizeof raw == sizeof keysym.sym);
    std::memcpy(&raw, &keysym.sym, sizeof raw);
    return static_cast<int>(raw);
}

std::int32_t key_field(const SDL_KeyboardEvent& key) {
    const int code = mkkeycode(symbol_of(key.keysym), key.keysym.unicode);
    return key.type == SDL_KEYUP ? -code : code;
}

// Fills the record from one SDL event; false for the events that are not
// reported (the wait goes on).
bool translate(const SDL_Event& e, event& ev) {
    switch (e.type) {
    case SDL_KEYDOWN:
    case SDL_KEYUP:
        ev.key = key_field(e.key);
        return ev.key != 0;  // keys without a code are swallowed
    case SDL_MOUSEMOTION:
        ev.mouse_x = e.motion.x;
        ev.mouse_y = e.motion.y;
        return true;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
        ev.button = e.button.state ? e.button.button : -e.button.button;
        ev.mouse_x = e.button.x;
        ev.mouse_y = e.button.y;
        return true;
    case SDL_USEREVENT:
        ev.ticks = e.user.code;
        if (e.user.data1 == &timer_mark) release_tick();
        return true;
    default:
        return false;
    }
}

}  // namespace

// Built in static storage behind a plain flag, like the window; it needs no
// destruction.
grinput& grinput::instance() {
    static std::aligned_storage_t<sizeof(grinput), alignof(grinput)> single_inst;
    static bool built = false;
    if (!built) {
        new (&single_inst) grinput;
        built = true;
    }
    return *std::launder(reinterpret_cast<grinput*>(&single_inst));
}

grinput::grinput() : quit(false) {}

grinput& grinput::wait_event(event& ev) {
    static const event nullev{};
    ev = nullev;
    if (quit) return *this;  // SDL is not asked again
    SDL_Event e;
    // A failed wait returns 0 on the classic library and -1 on the compatibility one.
    while (SDL_WaitEvent(&e) > 0) {
        if (e.type == SDL_QUIT) {
            quit = true;
            return *this;
        }
        if (translate(e, ev)) return *this;
    }
    quit = true;  // waiting failed: nothing more will come
    return *this;
}

void grinput::timer(int period) {
    if (timer_id) {
        SDL_RemoveTimer(timer_id);
        timer_id = nullptr;
    }
    if (period > 0) timer_id = SDL_AddTimer(static_cast<Uint32>(period), timer_event, nullptr);
}

}  // namespace kavex
