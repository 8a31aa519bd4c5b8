// The input source: SDL's events as one record, and the periodic timer.
// Waiting and the timer are the SDL side's (sdl_side.hpp); the record is made
// here, the same everywhere.
#include "explain.hpp"
#include "graphics.hpp"
#include "keys.inc"
#include "sdl_side.hpp"

#include <cstdint>
#include <cstring>
#include <new>
#include <type_traits>

namespace kavex {

namespace {

// A pushed event may carry any number as its key symbol, and SDLKey has no
// value for most of them: loading such a symbol as an SDLKey would be
// undefined, so its bytes are read as the integer they hold. (SDLKey is an
// enumeration on the desktop and a plain integer in the browser.)
int symbol_of(const SDL_keysym& keysym) {
    std::int32_t raw;
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
        return true;
    default:
        return false;
    }
}

// A loop that waits after the window was closed gets an empty record at once,
// again and again: a program stuck that way spins, so it is explained.
constexpr int waits_that_mean_a_stuck_loop = 100;

void explain_waits_after_quit() {
    static int waits = 0;
    if (++waits != waits_that_mean_a_stuck_loop) return;
    detail::explain(detail::mistake::wait_after_quit, [] {
        return "wait_event was called " + std::to_string(waits_that_mean_a_stuck_loop) +
               " times after the window was closed, and each call returned an empty event at once. "
               "End the loop when gin turns false: while (gin) { gin.wait_event(ev); ... }";
    });
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
    if (quit) {  // SDL is not asked again
        explain_waits_after_quit();
        return *this;
    }
    SDL_Event e;
    while (sdl_side::wait(e)) {
        if (e.type == SDL_QUIT) {
            quit = true;
            return *this;
        }
        if (translate(e, ev)) return *this;
    }
    quit = true;  // waiting failed: nothing more will come
    return *this;
}

void grinput::timer(int period) { sdl_side::timer(period); }

}  // namespace kavex
