// The input source: SDL's events as one record, and the periodic timer.
// Waiting and the timer are the SDL side's (sdl_side.hpp); the record is made
// here, the same everywhere.
#include "explain.hpp"
#include "graphics.hpp"
#include "keys.inc"
#include "run_input.hpp"
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

// The keys held down now: each physical key with the code its press
// reported. A key is known by SDL's symbol for it, or by its scancode where
// SDL gives it no symbol; its release is looked up by the same, since a
// release carries no character. Keyboards report only a handful of keys at
// once, so the table is small and fixed; should it fill up (releases lost
// somewhere), the key held longest makes room.
struct held_key {
    std::int32_t symbol;
    std::int32_t scancode;
    std::int32_t code;
};
constexpr int most_keys_held = 16;
held_key keys_held[most_keys_held];
int keys_held_count = 0;

bool is_physical_key(const held_key& k, const SDL_keysym& keysym) {
    const int symbol = symbol_of(keysym);
    return k.symbol == symbol && (symbol != 0 || k.scancode == static_cast<std::int32_t>(keysym.scancode));
}

held_key* held_entry(const SDL_keysym& keysym) {
    for (int i = 0; i < keys_held_count; ++i)
        if (is_physical_key(keys_held[i], keysym)) return &keys_held[i];
    return nullptr;
}

void forget_held(int index) {
    for (int i = index + 1; i < keys_held_count; ++i) keys_held[i - 1] = keys_held[i];
    --keys_held_count;
}

// A repeated press of a key already down changes its code at most (Shift
// pressed meanwhile turns 'w' into 'W').
void note_press(const SDL_keysym& keysym, std::int32_t code) {
    if (held_key* k = held_entry(keysym)) {
        k->code = code;
        return;
    }
    if (keys_held_count == most_keys_held) forget_held(0);
    keys_held[keys_held_count++] = {symbol_of(keysym), static_cast<std::int32_t>(keysym.scancode), code};
}

void note_release(const SDL_keysym& keysym) {
    if (held_key* k = held_entry(keysym)) forget_held(static_cast<int>(k - keys_held));
}

void release_all_keys() { keys_held_count = 0; }

// Shift, Ctrl, Alt, Super and the locks press once however long they are
// held, with key repeat on too: the classic library never repeats them, the
// compatibility one and the browser would.
bool never_repeats(std::int32_t code) {
    return (code >= key_rshift && code <= key_rsuper) || (code >= key_numlock && code <= key_scrlock);
}

// Keeps the table up to date with one event that SDL gave, reported or not;
// false for a press that is left out, a repeat of a key that never repeats.
bool follow_keys(const SDL_Event& e) {
    switch (e.type) {
    case SDL_KEYDOWN: {
        const std::int32_t code = key_field(e.key);
        if (code == 0) break;
        if (never_repeats(code) && held_entry(e.key.keysym)) return false;
        note_press(e.key.keysym, code);
        break;
    }
    case SDL_KEYUP:
        note_release(e.key.keysym);
        break;
    case SDL_ACTIVEEVENT:
        // Keys let go in another window never come here as releases.
        if ((e.active.state & SDL_APPINPUTFOCUS) && e.active.gain == 0) release_all_keys();
        break;
    default:
        break;
    }
    return true;
}

// The small letter for a capital of Windows-1250 (its bytes) or ASCII, so
// that held('W') and held('w') ask for the same key; any other code as it is.
std::int32_t small_letter(std::int32_t code) {
    if (code >= 'A' && code <= 'Z') return code + ('a' - 'A');
    if (code >= 0xC0 && code <= 0xDE && code != 0xD7) return code + 0x20;  // but the multiplication sign
    switch (code) {
    case 0x8A: case 0x8C: case 0x8D: case 0x8E: case 0x8F:  // S, S, T, Z, Z with caron or acute
    case 0xA3: case 0xAA: case 0xAF:                        // L with stroke, S with cedilla, Z with dot
        return code + 0x10;
    case 0xA5: return 0xB9;  // A with ogonek
    case 0xBC: return 0xBE;  // L with caron
    default: return code;
    }
}

// A loop that waits after the window was closed gets an empty record at once,
// again and again: a program stuck that way spins, so it is explained.
constexpr int waits_that_mean_a_stuck_loop = 100;

void explain_waits_after_quit() {
    static int waits = 0;
    if (++waits != waits_that_mean_a_stuck_loop) return;
    detail::explain(detail::mistake::wait_after_quit, [] {
        return detail::words(detail::text::wait_after_quit, {{"times", waits_that_mean_a_stuck_loop}});
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
    while (run_input::next(e)) {
        if (e.type == SDL_QUIT) break;
        if (follow_keys(e) && translate(e, ev)) return *this;
    }
    // Closed, or waiting failed: nothing more will come, no key is let go.
    quit = true;
    release_all_keys();
    return *this;
}

// A replayed run's transcript holds its ticks and repeats.
void grinput::timer(int period) {
    if (!run_input::replaying()) sdl_side::timer(period);
}

bool grinput::held(int key) const {
    if (key <= 0) return false;
    const std::int32_t sought = small_letter(key);
    for (int i = 0; i < keys_held_count; ++i)
        if (small_letter(keys_held[i].code) == sought) return true;
    return false;
}

void grinput::key_repeat(int delay, int interval) {
    if (delay <= 0 || interval <= 0) delay = interval = 0;
    if (!run_input::replaying()) sdl_side::key_repeat(delay, interval);
}

}  // namespace kavex
