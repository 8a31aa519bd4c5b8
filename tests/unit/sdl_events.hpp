// Test helpers: real SDL events pushed into SDL's real queue, and the
// records that gin makes of them.
#pragma once

#include "graphics.hpp"

#include <array>
#include <cstdint>
#include <vector>

namespace test {

// An event record as five numbers, so that a whole record is compared and
// printed at once: {key, mouse_x, mouse_y, button, ticks}.
using record = std::array<std::int32_t, 5>;

inline record fields(const kavex::event& ev) { return {ev.key, ev.mouse_x, ev.mouse_y, ev.button, ev.ticks}; }

// Waits for the next record; starts from a record full of stale numbers, so
// that a field left unwritten shows.
inline record next() {
    kavex::event ev{7, 7, 7, 7, 7};
    kavex::gin.wait_event(ev);
    return fields(ev);
}

inline bool push(SDL_Event e) { return SDL_PushEvent(&e) == 0; }

inline SDL_Event key_event(Uint8 type, SDLKey sym, Uint16 unicode) {
    SDL_Event e{};
    e.key.type = type;
    e.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
    e.key.keysym.sym = sym;
    e.key.keysym.unicode = unicode;
    return e;
}

inline SDL_Event key_down(SDLKey sym, Uint16 unicode = 0) { return key_event(SDL_KEYDOWN, sym, unicode); }
inline SDL_Event key_up(SDLKey sym, Uint16 unicode = 0) { return key_event(SDL_KEYUP, sym, unicode); }

inline SDL_Event motion(Uint16 x, Uint16 y) {
    SDL_Event e{};
    e.motion.type = SDL_MOUSEMOTION;
    e.motion.x = x;
    e.motion.y = y;
    e.motion.xrel = 3;
    e.motion.state = SDL_BUTTON(1);
    return e;
}

inline SDL_Event button_event(Uint8 type, Uint8 button, Uint8 state, Uint16 x, Uint16 y) {
    SDL_Event e{};
    e.button.type = type;
    e.button.button = button;
    e.button.state = state;
    e.button.x = x;
    e.button.y = y;
    return e;
}

inline SDL_Event of_type(Uint8 type) {
    SDL_Event e{};
    e.type = type;
    return e;
}

inline SDL_Event user_event(int code) {
    SDL_Event e = of_type(SDL_USEREVENT);
    e.user.code = code;
    return e;
}

// A mouse move to a place that no test uses otherwise.
inline SDL_Event sentinel() { return motion(4321, 1234); }
inline const record sentinel_record{0, 4321, 1234, 0, 0};

// Every record up to the sentinel, pushed now: what was waiting in the queue.
inline std::vector<record> take_waiting() {
    std::vector<record> taken;
    if (!push(sentinel())) return taken;
    for (record r = next(); r != sentinel_record && !kavex::gin.quit; r = next()) taken.push_back(r);
    return taken;
}

// SDL_USEREVENTs waiting in SDL's queue, left where they are.
inline int user_events_waiting() {
    SDL_Event waiting[128];
    return SDL_PeepEvents(waiting, 128, SDL_PEEKEVENT, SDL_EVENTMASK(SDL_USEREVENT));
}

}  // namespace test
