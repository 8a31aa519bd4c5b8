// The library in a browser, on Emscripten's SDL emulation.
//
// That SDL keeps its pictures in the page's canvases, cannot block, fires a
// timer once, ignores colour keys and has no BMP writer. So here every
// canvas, the window's included, is plain memory that the library owns, in
// the same 0x00RRGGBB layout as on the desktop; fills and copies work on it
// directly; a refresh converts the window's pixels once into the page's
// canvas; waiting polls SDL and sleeps until input comes or the next tick is
// due (the program is built with Asyncify, which turns the sleep into a
// return to the browser); and the periodic timer is kept here, its ticks
// made inside the wait.
#include "bmp.hpp"
#include "pixels.hpp"
#include "sdl_side.hpp"

#include <algorithm>
#include <cstring>
#include <new>

// The page's side, in web/library.js.
extern "C" void kavex_page_wait(Uint32 ms);
extern "C" void kavex_page_frame();
extern "C" void kavex_page_saved(const char* name);
extern "C" void kavex_page_title(const char* title);

namespace kavex::sdl_side {

using detail::load_pixel;
using detail::locked_pixels;
using detail::store_pixel;

bool start() {
    if (SDL_Init(SDL_INIT_VIDEO) < 0) return false;
    SDL_EnableUNICODE(1);
    return true;
}

void stop() { SDL_Quit(); }

std::string last_error() { return SDL_GetError(); }

namespace {

// A surface and its format in one block, with its pixels after them.
struct owned_surface {
    SDL_Surface surface;
    SDL_PixelFormat format;
};

}  // namespace

SDL_Surface* create_surface(int width, int height) {
    auto* block = new (std::nothrow) owned_surface{};
    if (!block) return nullptr;
    // Zeroed, so that a new canvas is black, as SDL's are.
    auto* pixels = new (std::nothrow) std::uint32_t[static_cast<std::size_t>(width) * height]();
    if (!pixels) {
        delete block;
        return nullptr;
    }
    SDL_PixelFormat& f = block->format;
    f.format = SDL_PIXELFORMAT_RGB888;
    f.BitsPerPixel = 32;
    f.BytesPerPixel = 4;
    f.Rmask = 0xFF0000;
    f.Gmask = 0xFF00;
    f.Bmask = 0xFF;
    f.Rshift = 16;
    f.Gshift = 8;
    f.Aloss = 8;
    f.refcount = 1;
    SDL_Surface& s = block->surface;
    s.flags = SDL_PREALLOC | SDL_DONTFREE;  // plain memory, never locked (sdl_side_web.h)
    s.format = &f;
    s.w = width;
    s.h = height;
    s.pitch = 4 * width;
    s.pixels = pixels;
    s.clip_rect = SDL_Rect{0, 0, width, height};
    s.refcount = 1;
    return &s;
}

namespace {

void release(SDL_Surface* s) {
    delete[] static_cast<std::uint32_t*>(s->pixels);
    delete reinterpret_cast<owned_surface*>(s);  // the surface is the block's first member
}

SDL_Surface* screen = nullptr;  // the page's canvas, as SDL's screen
SDL_Surface* window = nullptr;  // the window's pixels, the library's own

}  // namespace

namespace {

// The page's canvas holds bytes red, green, blue, alpha: each word is turned
// round, once per refresh.
void put_on_page() {
    if (!screen || SDL_LockSurface(screen) != 0) return;
    if (screen->pixels && screen->w == window->w && screen->h == window->h) {
        const auto* from = static_cast<const std::uint8_t*>(window->pixels);
        auto* to = static_cast<std::uint8_t*>(screen->pixels);
        for (int y = 0; y < window->h; ++y) {
            const auto* row = reinterpret_cast<const std::uint32_t*>(from + y * window->pitch);
            auto* out = reinterpret_cast<std::uint32_t*>(to + y * screen->pitch);
            for (int x = 0; x < window->w; ++x) {
                const std::uint32_t v = row[x];
                out[x] = 0xFF000000u | (v & 0xFF) << 16 | (v & 0xFF00) | (v >> 16 & 0xFF);
            }
        }
    }
    SDL_UnlockSurface(screen);
}

}  // namespace

// The page counts the program's frames, and notes when the first came.
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
    if (window) release(window);
    screen = pixels ? page : nullptr;
    window = pixels;
    put_on_page();  // black, as a new window is
    return window;
}

void fill(SDL_Surface* s, const SDL_Rect& area, std::uint32_t value) {
    locked_pixels px(s);
    if (!px) return;
    for (int y = area.y; y < area.y + area.h; ++y)
        for (std::uint8_t *p = px.at(area.x, y), *end = p + 4 * area.w; p < end; p += 4) store_pixel(p, value);
}

namespace {

// Rows of `w` pixels from `from` to `to`; keyed, the black ones stay out.
void copy_rows(const std::uint8_t* from, std::ptrdiff_t from_pitch, std::uint8_t* to, std::ptrdiff_t to_pitch,
               int w, int h, bool keyed) {
    for (int y = 0; y < h; ++y, from += from_pitch, to += to_pitch) {
        if (!keyed) {
            std::memmove(to, from, 4 * static_cast<std::size_t>(w));
            continue;
        }
        for (int x = 0; x < w; ++x) {
            const std::uint32_t value = load_pixel(from + 4 * x);
            if (value != 0) store_pixel(to + 4 * x, value);
        }
    }
}

}  // namespace

void copy(SDL_Surface* from, const SDL_Rect& from_area, SDL_Surface* to, const SDL_Rect& to_area, bool keyed) {
    locked_pixels source(from), target(to);
    if (!source || !target) return;
    const std::uint8_t* rows = source.at(from_area.x, from_area.y);
    std::ptrdiff_t pitch = source.pitch();
    // Within one surface the rectangles may overlap: the source is taken aside first.
    std::unique_ptr<std::uint8_t[]> aside;
    if (from == to) {
        aside.reset(new (std::nothrow) std::uint8_t[4 * static_cast<std::size_t>(from_area.w) * from_area.h]);
        if (!aside) return;
        copy_rows(rows, pitch, aside.get(), 4 * from_area.w, from_area.w, from_area.h, false);
        rows = aside.get();
        pitch = 4 * from_area.w;
    }
    copy_rows(rows, pitch, target.at(to_area.x, to_area.y), target.pitch(), to_area.w, to_area.h, keyed);
}

bool encode_bmp(SDL_Surface* s, encoded_image& out) {
    locked_pixels px(s);
    return px && detail::encode_bmp24(px.at(0, 0), px.pitch(), s->w, s->h, out);
}

// The page may offer the saved file to the user (the shell's kavexSaved).
void saved(const std::string& name) {
    kavex_page_saved(name.c_str());
}

// This SDL reads a BMP only as an image the browser decodes into a page
// canvas, and only from a file it was given before the program started: the
// library reads BMPs itself here (load.cpp).
bool decode_bmp(const std::uint8_t*, std::size_t, rgba_picture&, std::string&) { return false; }

namespace {

// The longest the wait sleeps without a tick to wait for; input for the
// program ends the sleep at once (kavex_page_wait).
constexpr Uint32 longest_sleep = 250;

// The longest the program keeps the page's thread: a program that falls
// behind finds a tick waiting at every wait and would never sleep, and the
// browser would show no frame and take no input.
constexpr Uint32 hold_at_most = 20;
Uint32 last_slept = 0;

void sleep_for(Uint32 ms) {
    kavex_page_wait(ms);
    last_slept = SDL_GetTicks();
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

bool wait(SDL_Event& e) {
    if (SDL_GetTicks() - last_slept >= hold_at_most) sleep_for(0);
    for (;;) {
        if (wheel_release_waiting) {
            wheel_release_waiting = false;
            e = wheel_release;
            return true;
        }
        const Uint32 now = SDL_GetTicks();
        collect_ticks(now);
        // Input first: a program that falls behind still gets its keys and mouse.
        if (SDL_PollEvent(&e)) {
            adapt(e);
            if (follow_repeats(e, now)) return true;
            continue;
        }
        if (take_repeat(e, now) || take_tick(e)) return true;
        sleep_for(sleep_span(now));
    }
}

void key_repeat(int delay, int interval) {
    repeat_delay = delay;
    repeat_interval = interval;
    next_repeat = SDL_GetTicks() + static_cast<Uint32>(delay);
}

void timer(int new_period) {
    period = new_period > 0 ? new_period : 0;
    next_due = SDL_GetTicks() + static_cast<Uint32>(period);
}

}  // namespace kavex::sdl_side
