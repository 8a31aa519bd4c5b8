// The library in a browser, on Emscripten's SDL emulation.
//
// That SDL keeps its pictures in the page's canvases, cannot block, fires a
// timer once, ignores colour keys and has no BMP writer. So here every
// canvas, the window's included, is plain memory that the library owns, in
// the same 0x00RRGGBB layout as on the desktop; fills and copies work on it
// directly; a refresh converts the window's pixels once into the page's
// canvas (memory_surface.cpp); waiting polls SDL and sleeps until input
// comes or the next tick is due (the program is built with Asyncify, which
// turns the sleep into a return to the browser); and the periodic timer and
// the key repeat are kept by the library, made inside the wait
// (made_events.cpp). Sound goes through that SDL's audio, which the page
// feeds from the mixer between the program's waits.
#include "made_events.hpp"
#include "memory_surface.hpp"
#include "messages.hpp"
#include "sdl_audio.hpp"
#include "sdl_side.hpp"

#include <algorithm>

// The page's side, in web/library.js.
extern "C" void kavex_page_wait(Uint32 ms);
extern "C" void kavex_page_frame();
extern "C" void kavex_page_saved(const char* name);
extern "C" void kavex_page_title(const char* title);
extern "C" int kavex_page_sound_allowed();

namespace kavex::sdl_side {

bool start() {
    if (SDL_Init(SDL_INIT_VIDEO) < 0) return false;
    SDL_EnableUNICODE(1);
    return true;
}

void stop() { SDL_Quit(); }

std::string last_error() { return SDL_GetError(); }

SDL_Surface* create_surface(int width, int height) {
    SDL_Surface* s = memory_surface::create(width, height);
    if (!s) return nullptr;
    s->flags |= SDL_DONTFREE;  // never locked (sdl_side_web.h)
    s->format->format = SDL_PIXELFORMAT_RGB888;
    s->format->refcount = 1;
    return s;
}

namespace {

SDL_Surface* screen = nullptr;  // the page's canvas, as SDL's screen
SDL_Surface* window = nullptr;  // the window's pixels, the library's own

void put_on_page() {
    if (!screen || SDL_LockSurface(screen) != 0) return;
    if (screen->pixels && screen->w == window->w && screen->h == window->h)
        memory_surface::to_rgba(window, static_cast<std::uint8_t*>(screen->pixels), screen->pitch);
    SDL_UnlockSurface(screen);
}

}  // namespace

// The page counts the program's frames, and notes when the first came.
// The page draws its pointer outside the canvas.
void hide_pointer() {}

void show(SDL_Surface* s) {
    if (s != window) return;
    put_on_page();
    kavex_page_frame();
}

// The page's title is the program's name until the program sets its own.
void set_title(const std::string& title) { kavex_page_title(title.c_str()); }

SDL_Surface* open_window(int width, int height, bool) {
    // A page cannot go full screen without the user's gesture: a window it is.
    SDL_Surface* page = SDL_SetVideoMode(width, height, 32, SDL_SWSURFACE);
    SDL_Surface* pixels = page ? create_surface(width, height) : nullptr;
    if (window) memory_surface::release(window);
    screen = pixels ? page : nullptr;
    window = pixels;
    put_on_page();  // black, as a new window is
    return window;
}

void fill(SDL_Surface* s, const SDL_Rect& area, std::uint32_t value) { memory_surface::fill(s, area, value); }

void copy(SDL_Surface* from, const SDL_Rect& from_area, SDL_Surface* to, const SDL_Rect& to_area, bool keyed) {
    memory_surface::copy(from, from_area, to, to_area, keyed);
}

bool encode_bmp(SDL_Surface* s, encoded_image& out) { return memory_surface::encode_bmp(s, out); }

// The page may offer the saved file to the user (the shell's kavexSaved).
void saved(const std::string& name) {
    kavex_page_saved(name.c_str());
}

// This SDL reads a BMP only as an image the browser decodes into a page
// canvas, and only from a file it was given before the program started: the
// library reads BMPs itself here (load.cpp).
bool decode_bmp(const std::uint8_t*, std::size_t, rgba_picture&, std::string&) { return false; }

namespace {

// The wheel's release, which the desktop reports after its press.
bool wheel_release_waiting = false;
SDL_Event wheel_release;
std::int32_t pointer_x = 0, pointer_y = 0;

std::int32_t not_negative(std::int32_t v) { return std::max(v, 0); }

// Brings the browser's event to what the desktop's SDL 1.2 reports.
void adapt(SDL_Event& e) {
    switch (e.type) {
    case SDL_KEYDOWN:
    case SDL_KEYUP: {
        // The browser fills in the key's own symbol for a key that types no
        // character, and something for every release: the desktop gives a
        // character on presses only, and none for keys that type none.
        SDL_keysym& k = e.key.keysym;
        if (e.type == SDL_KEYUP || (k.unicode == static_cast<Uint32>(k.sym) && k.sym > 0xFF)) k.unicode = 0;
        break;
    }
    case SDL_MOUSEMOTION:
        pointer_x = e.motion.x = not_negative(e.motion.x);
        pointer_y = e.motion.y = not_negative(e.motion.y);
        break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
        pointer_x = e.button.x = not_negative(e.button.x);
        pointer_y = e.button.y = not_negative(e.button.y);
        break;
    case SDL_WINDOWEVENT:
        // The desktop tells of the keyboard lost as an SDL_ACTIVEEVENT.
        if (e.window.event != SDL_WINDOWEVENT_FOCUS_LOST) break;
        e = SDL_Event{};
        e.active.type = SDL_ACTIVEEVENT;
        e.active.gain = 0;
        e.active.state = SDL_APPINPUTFOCUS;
        break;
    case SDL_MOUSEWHEEL: {
        // The desktop reports a turn of the wheel as a press and a release
        // of button 4 (up) or 5 (down) where the pointer is.
        if (e.wheel.y == 0) break;
        const Uint8 button = e.wheel.y > 0 ? 4 : 5;
        e = SDL_Event{};
        e.button.type = SDL_MOUSEBUTTONDOWN;
        e.button.button = button;
        e.button.state = SDL_PRESSED;
        e.button.x = pointer_x;
        e.button.y = pointer_y;
        wheel_release = e;
        wheel_release.button.type = SDL_MOUSEBUTTONUP;
        wheel_release.button.state = SDL_RELEASED;
        wheel_release_waiting = true;
        break;
    }
    default:
        break;
    }
}

}  // namespace

namespace {

// The browser's input, in the desktop's form; a turn of the wheel is a press
// and then its release.
bool poll(SDL_Event& e) {
    if (wheel_release_waiting) {
        wheel_release_waiting = false;
        e = wheel_release;
        return true;
    }
    if (!SDL_PollEvent(&e)) return false;
    adapt(e);
    return true;
}

Uint32 now() { return SDL_GetTicks(); }

}  // namespace

// Waiting, ticks and key repeats are made_events.cpp's, from this.
const made_events::source& event_source() {
    static const made_events::source page{poll, now, kavex_page_wait};
    return page;
}

// Sound: SDL's one audio device (sdl_audio.cpp), which the page allows once
// its visitor has clicked or typed.
bool sound_allowed() { return kavex_page_sound_allowed() != 0; }

bool open_sound(sound_filler fill, std::string& reason) {
    if (sdl_audio::open(fill, reason)) return true;
    reason = detail::words(detail::text::browser_no_sound, {{"why", reason}});
    return false;
}

// The page calls the mixer only while the program sleeps in its wait, on the
// one thread there is: nothing needs locking.
void lock_sound() {}
void unlock_sound() {}

void close_sound() { sdl_audio::close(); }

}  // namespace kavex::sdl_side
