// The library in the playground: a program compiled in the page (for
// WebAssembly with WASI) and run in a Worker, with no SDL at all; SDL's
// headers give only its types.
//
// Every canvas, the window's included, is plain memory that the library owns
// (memory_surface.cpp). A refresh hands the window's pixels to the page,
// which puts them on its canvas. The page's input arrives already in the
// desktop SDL 1.2's terms (web/playground/keys.mjs) and is polled here; the
// wait sleeps in the page (WebAssembly's promise integration suspends the
// program meanwhile), and the timer's ticks and the key repeat are made
// inside it (made_events.cpp). A Worker has no sound of its own: the mixer's
// frames are handed to the page a little ahead of time, at every wait and
// refresh, and the page plays them.
#include "made_events.hpp"
#include "memory_surface.hpp"
#include "mixer.hpp"
#include "sdl_side.hpp"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <new>

// The page's functions and its input record, declared once in
// web/playground/page_interface.mjs, from which build.mjs writes this header;
// runner.mjs gives the functions.
#include "page_interface.hpp"

// The drawing locks a surface where SDL_MUSTLOCK asks (pixels.hpp). The
// library's own surfaces never ask, and there is no other SDL here.
extern "C" int SDL_LockSurface(SDL_Surface*) { return 0; }
extern "C" void SDL_UnlockSurface(SDL_Surface*) {}

namespace kavex::sdl_side {

bool start() { return true; }

void stop() {}

std::string last_error() { return std::string(); }

SDL_Surface* create_surface(int width, int height) { return memory_surface::create(width, height); }

namespace {

// Sound: what the mixer gives, handed to the page up to `sound_lead` ms
// ahead of when it plays; meanwhile the wait sleeps at most `sound_pause`
// ms, so that the page never runs out while the program waits.
sound_filler sound_fill = nullptr;
Uint32 sound_opened_at = 0;
std::uint64_t frames_handed = 0;  // since the output opened
constexpr Uint32 sound_lead = 80;
constexpr Uint32 sound_pause = 25;

std::uint64_t frames_in(Uint32 ms) { return std::uint64_t{ms} * detail::sound_rate / 1000; }

// Silence is handed over as its length alone. A program that was busy for a
// while skips what was due meanwhile (the page has played silence), so that
// its sounds come late by no more than the lead.
void hand_over_sound() {
    if (!sound_fill) return;
    static std::int16_t chunk[4096 * detail::sound_channels];
    const std::uint64_t now = frames_in(kavex_page_now() - sound_opened_at);
    const std::uint64_t until = now + frames_in(sound_lead);
    frames_handed = std::max(frames_handed, now);
    while (frames_handed < until) {
        const int count = static_cast<int>(std::min<std::uint64_t>(until - frames_handed, 4096));
        sound_fill(chunk, count);
        const bool silent =
            std::all_of(chunk, chunk + count * detail::sound_channels, [](std::int16_t s) { return s == 0; });
        kavex_page_sound(silent ? nullptr : chunk, count);
        frames_handed += count;
    }
}

SDL_Surface* window = nullptr;
std::unique_ptr<std::uint8_t[]> page_pixels;  // the window's picture as the page takes it

}  // namespace

// The page draws its pointer outside the picture.
void hide_pointer() {}

void show(SDL_Surface* s) {
    hand_over_sound();  // for a program that refreshes without waiting
    if (s != window || !page_pixels) return;
    memory_surface::to_rgba(window, page_pixels.get(), 4 * window->w);
    kavex_page_frame(page_pixels.get(), window->w, window->h);
}

void set_title(const std::string& title) { kavex_page_title(title.c_str()); }

SDL_Surface* open_window(int width, int height, bool) {
    // Full screen is the page's to give: a window it is.
    SDL_Surface* pixels = create_surface(width, height);
    std::unique_ptr<std::uint8_t[]> rgba(
        pixels ? new (std::nothrow) std::uint8_t[4 * static_cast<std::size_t>(width) * height] : nullptr);
    if (pixels && !rgba) {
        memory_surface::release(pixels);
        return nullptr;
    }
    if (window) memory_surface::release(window);
    window = pixels;
    page_pixels = std::move(rgba);
    if (!window) return nullptr;
    kavex_page_open(width, height);
    show(window);  // black, as a new window is
    return window;
}

void fill(SDL_Surface* s, const SDL_Rect& area, std::uint32_t value) { memory_surface::fill(s, area, value); }

void copy(SDL_Surface* from, const SDL_Rect& from_area, SDL_Surface* to, const SDL_Rect& to_area, bool keyed) {
    memory_surface::copy(from, from_area, to, to_area, keyed);
}

bool encode_bmp(SDL_Surface* s, encoded_image& out) { return memory_surface::encode_bmp(s, out); }

// The page offers the saved file for download.
void saved(const std::string& name) { kavex_page_saved(name.c_str()); }

// No SDL to read BMPs: the library reads them itself (load.cpp).
bool decode_bmp(const std::uint8_t*, std::size_t, rgba_picture&, std::string&) { return false; }

namespace {

using page::record_kind;

Uint16 coordinate(std::int32_t v) { return static_cast<Uint16>(v < 0 ? 0 : v > 0xFFFF ? 0xFFFF : v); }

void key_from(const std::int32_t* r, SDL_Event& e) {
    const bool pressed = record_kind{r[page::kind]} == record_kind::key_press;
    e.key.type = pressed ? SDL_KEYDOWN : SDL_KEYUP;
    e.key.state = pressed ? SDL_PRESSED : SDL_RELEASED;
    e.key.keysym.sym = static_cast<SDLKey>(r[page::symbol]);
    e.key.keysym.unicode = static_cast<Uint16>(r[page::character]);
}

void button_from(const std::int32_t* r, SDL_Event& e) {
    const bool pressed = record_kind{r[page::kind]} == record_kind::button_press;
    e.button.type = pressed ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
    e.button.state = pressed ? SDL_PRESSED : SDL_RELEASED;
    e.button.button = static_cast<Uint8>(r[page::button]);
    e.button.x = coordinate(r[page::x]);
    e.button.y = coordinate(r[page::y]);
}

void motion_from(const std::int32_t* r, SDL_Event& e) {
    e.motion.type = SDL_MOUSEMOTION;
    e.motion.x = coordinate(r[page::x]);
    e.motion.y = coordinate(r[page::y]);
}

void keyboard_lost(SDL_Event& e) {
    e.active.type = SDL_ACTIVEEVENT;
    e.active.gain = 0;
    e.active.state = SDL_APPINPUTFOCUS;
}

// The SDL event that a record stands for; false for a kind this library
// does not know.
bool event_from(const std::int32_t* r, SDL_Event& e) {
    e = SDL_Event{};
    switch (record_kind{r[page::kind]}) {
    case record_kind::key_press:
    case record_kind::key_release: key_from(r, e); return true;
    case record_kind::pointer_move: motion_from(r, e); return true;
    case record_kind::button_press:
    case record_kind::button_release: button_from(r, e); return true;
    case record_kind::keyboard_lost: keyboard_lost(e); return true;
    case record_kind::window_close: e.type = SDL_QUIT; return true;
    }
    return false;
}

// A record of a kind this library does not know is skipped.
bool poll(SDL_Event& e) {
    std::int32_t r[page::record_size] = {};
    while (kavex_page_poll(r))
        if (event_from(r, e)) return true;
    return false;
}

void sleep_between_sounds(Uint32 ms) {
    hand_over_sound();
    kavex_page_wait(sound_fill ? std::min(ms, sound_pause) : ms);
    hand_over_sound();
}

}  // namespace

// Waiting, ticks and key repeats are made_events.cpp's, from this.
const made_events::source& event_source() {
    static const made_events::source page{poll, kavex_page_now, sleep_between_sounds};
    return page;
}

// The page allows sound once its visitor has clicked or typed (runner.mjs).
bool sound_allowed() { return kavex_page_sound_allowed() != 0; }

bool open_sound(sound_filler fill, std::string&) {
    kavex_page_sound_open(detail::sound_rate);
    sound_fill = fill;
    sound_opened_at = kavex_page_now();
    frames_handed = 0;
    return true;
}

// One thread: the mixer is only called from the waits and refreshes.
void lock_sound() {}
void unlock_sound() {}

void close_sound() { sound_fill = nullptr; }

}  // namespace kavex::sdl_side
