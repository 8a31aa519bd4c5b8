// The library on a desktop SDL 1.2 (the classic library or the one on SDL2):
// SDL's own surfaces, fills, keyed blits and BMP writer, its blocking wait
// and its timer thread.
#include "sdl_side.hpp"
#include "explain.hpp"
#include "little_endian.hpp"
#include "os_side.hpp"
#include "pixels.hpp"
#include "sdl_audio.hpp"

#include <atomic>
#include <climits>
#include <csignal>
#include <cstring>
#include <new>

namespace kavex::sdl_side {

using detail::locked_pixels;

namespace {

// Ctrl-C. SDL turns it into a close request, which a loop that tests `gin`
// ends on; a loop that never tests it would run on, Ctrl-C after Ctrl-C. So
// the first Ctrl-C goes to SDL's handler, and the second ends the process
// as Ctrl-C does without SDL.
using signal_handler = void (*)(int);
signal_handler sdl_interrupt_handler = nullptr;
volatile std::sig_atomic_t interrupts = 0;

extern "C" void on_interrupt(int sig) {
    interrupts = interrupts + 1;
    if (interrupts >= 2 || !sdl_interrupt_handler) {
        std::signal(sig, SIG_DFL);
        std::raise(sig);
        return;
    }
    if (*detail::interrupt_notice()) os_side::say_at_once(detail::interrupt_notice());
    sdl_interrupt_handler(sig);
    std::signal(sig, on_interrupt);  // SDL's handler puts itself back in place
}

// Only where SDL took Ctrl-C: an ignored one (a background job) stays ignored.
void take_interrupts() {
    detail::explaining_on();  // decided, and the notice made, before the handler is in place
    const signal_handler sdl_handler = std::signal(SIGINT, on_interrupt);
    if (sdl_handler == SIG_ERR || sdl_handler == SIG_DFL || sdl_handler == SIG_IGN) {
        if (sdl_handler != SIG_ERR) std::signal(SIGINT, sdl_handler);
        return;
    }
    sdl_interrupt_handler = sdl_handler;
}

// SDL's handler again, for SDL to take down with the rest of it.
void give_back_interrupts() {
    if (sdl_interrupt_handler) std::signal(SIGINT, sdl_interrupt_handler);
}

}  // namespace

bool start() {
    os_side::prepare_process();
    if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_TIMER) < 0) return false;
    SDL_EnableUNICODE(1);
    take_interrupts();
    set_title(os_side::program_name());
    return true;
}

void stop() {
    give_back_interrupts();
    SDL_Quit();
}

std::string last_error() { return SDL_GetError(); }

SDL_Surface* create_surface(int width, int height) {
    return SDL_CreateRGBSurface(SDL_SRCCOLORKEY, width, height, 32, 0, 0, 0, 0);
}

SDL_Surface* open_window(int width, int height, bool fullscreen) {
    const Uint32 window_flags = SDL_HWSURFACE | SDL_DOUBLEBUF;
    return SDL_SetVideoMode(width, height, 32, fullscreen ? window_flags | SDL_FULLSCREEN : window_flags);
}

void hide_pointer() { SDL_ShowCursor(SDL_DISABLE); }

void show(SDL_Surface* window) { SDL_Flip(window); }

// Set before the window opens, SDL keeps the title for it (its window exists
// from SDL's start, shown only when opened).
void set_title(const std::string& title) {
    SDL_WM_SetCaption(title.c_str(), title.c_str());
    os_side::show_title(title);
}

void fill(SDL_Surface* s, const SDL_Rect& area, std::uint32_t value) {
    SDL_Rect r = area;
    SDL_FillRect(s, &r, value);
}

namespace {

// The key is decided by each copy alone: a key that an earlier transparent
// copy left on the surface must not hide black from an opaque one.
void set_black_key(SDL_Surface* s, bool on) { SDL_SetColorKey(s, on ? SDL_SRCCOLORKEY : 0, 0); }

// A keyed blit reads and writes pixel by pixel, so within one surface it
// would read back pixels it has just written where the rectangles overlap.
// The source rectangle is taken aside first.
void copy_within(SDL_Surface* s, SDL_Rect from, SDL_Rect to, bool keyed) {
    const SDL_PixelFormat* f = s->format;
    SDL_Surface* aside = SDL_CreateRGBSurface(0, from.w, from.h, 32, f->Rmask, f->Gmask, f->Bmask, f->Amask);
    if (!aside) return;
    set_black_key(s, false);
    SDL_UpperBlit(s, &from, aside, nullptr);
    set_black_key(aside, keyed);
    SDL_UpperBlit(aside, nullptr, s, &to);
    SDL_FreeSurface(aside);
}

}  // namespace

void copy(SDL_Surface* from, const SDL_Rect& from_area, SDL_Surface* to, const SDL_Rect& to_area, bool keyed) {
    if (from == to) return copy_within(to, from_area, to_area, keyed);
    SDL_Rect source = from_area, target = to_area;
    set_black_key(from, keyed);
    SDL_UpperBlit(from, &source, to, &target);
}

namespace {

// Room for any BMP header in front of the pixel rows.
constexpr std::size_t header_room = 1024;

}  // namespace

// SDL's BMP writer, given the canvas's pixels through a view that carries no
// colour key, writes 24 bits per pixel under both SDL providers; with the key
// one of them would write 32 bits and mark every black pixel see-through.
bool encode_bmp(SDL_Surface* surface, encoded_image& out) {
    locked_pixels px(surface);
    if (!px) return false;
    const std::size_t row_bytes = (3 * static_cast<std::size_t>(surface->w) + 3) & ~std::size_t{3};
    const std::size_t capacity = header_room + row_bytes * static_cast<std::size_t>(surface->h);
    if (capacity > INT_MAX) return false;  // SDL's memory streams count in int
    out.bytes.reset(new (std::nothrow) std::uint8_t[capacity]);
    if (!out.bytes) return false;

    SDL_Surface* view = SDL_CreateRGBSurfaceFrom(px.at(0, 0), surface->w, surface->h, 32,
                                                 static_cast<int>(px.pitch()), 0xFF0000, 0xFF00, 0xFF, 0);
    SDL_RWops* stream = SDL_RWFromMem(out.bytes.get(), static_cast<int>(capacity));
    const bool written = view && stream && SDL_SaveBMP_RW(view, stream, 0) == 0;
    const long size = stream ? SDL_RWtell(stream) : -1;
    if (stream) SDL_RWclose(stream);
    if (view) SDL_FreeSurface(view);

    // A memory stream cuts what does not fit without a word: room left over,
    // and a size field that counts every byte, show the image is whole.
    if (!written || size < 14 || static_cast<std::size_t>(size) >= capacity) return false;
    out.size = static_cast<std::size_t>(size);
    return detail::read_le(out.bytes.get() + 2, 4) == out.size;
}

void saved(const std::string&) {}

namespace {

// One pixel's value as SDL stored it, in 1 to 4 bytes.
Uint32 stored_value(const std::uint8_t* p, int bytes_per_pixel) {
    switch (bytes_per_pixel) {
        case 1: return p[0];
        case 2: {
            Uint16 v;
            std::memcpy(&v, p, 2);
            return v;
        }
        case 3:
            return SDL_BYTEORDER == SDL_LIL_ENDIAN ? p[0] | p[1] << 8 | p[2] << 16 : p[2] | p[1] << 8 | p[0] << 16;
        default: {
            Uint32 v;
            std::memcpy(&v, p, 4);
            return v;
        }
    }
}

// An index past the file's palette, which SDL leaves unchecked, is black.
void get_rgba(Uint32 value, SDL_PixelFormat* f, std::uint8_t* to) {
    if (f->palette && value >= static_cast<Uint32>(f->palette->ncolors)) {
        to[0] = to[1] = to[2] = 0;
        to[3] = 255;
        return;
    }
    SDL_GetRGBA(value, f, &to[0], &to[1], &to[2], &to[3]);
}

// Whatever layout SDL read (a palette of 2 to 256 colours, 16, 24 or 32
// bits, with or without alpha), each pixel through SDL's own reading of it.
bool to_rgba(SDL_Surface* s, rgba_picture& out) {
    const int bytes_per_pixel = s->format->BytesPerPixel;
    if (s->w <= 0 || s->h <= 0 || bytes_per_pixel < 1 || bytes_per_pixel > 4) return false;
    if (SDL_MUSTLOCK(s) && SDL_LockSurface(s) != 0) return false;
    out.bytes.reset(new (std::nothrow) std::uint8_t[4 * static_cast<std::size_t>(s->w) * s->h]);
    if (out.bytes) {
        std::uint8_t* to = out.bytes.get();
        for (int y = 0; y < s->h; ++y) {
            const auto* row = static_cast<const std::uint8_t*>(s->pixels) + static_cast<std::ptrdiff_t>(y) * s->pitch;
            for (int x = 0; x < s->w; ++x, to += 4)
                get_rgba(stored_value(row + x * bytes_per_pixel, bytes_per_pixel), s->format, to);
        }
        out.width = s->w;
        out.height = s->h;
    }
    if (SDL_MUSTLOCK(s)) SDL_UnlockSurface(s);
    return out.bytes != nullptr;
}

}  // namespace

bool decode_bmp(const std::uint8_t* bytes, std::size_t size, rgba_picture& out, std::string& reason) {
    if (size > INT_MAX) return false;  // SDL's memory streams count in int
    SDL_ClearError();
    SDL_RWops* stream = SDL_RWFromConstMem(bytes, static_cast<int>(size));
    SDL_Surface* read = stream ? SDL_LoadBMP_RW(stream, 1) : nullptr;
    const bool decoded = read && to_rgba(read, out);
    if (!decoded) reason = read ? "there is not enough memory" : SDL_GetError();
    if (read) SDL_FreeSurface(read);
    return decoded;
}

namespace {

SDL_TimerID timer_id = nullptr;

// SDL's queue holds only 127 events (128 on the compatibility library). A
// program whose frame takes longer than the timer period would let ticks
// fill it, and from then on SDL would drop keys, mouse events and even the
// close request. So at most `tick_limit` ticks wait in the queue: the timer
// thread counts the ticks it pushed, the main thread counts down the ones it
// takes, and a tick that would pass the limit is dropped.
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

}  // namespace

bool wait(SDL_Event& e) {
    // A failed wait returns 0 on the classic library and -1 on the compatibility one.
    if (SDL_WaitEvent(&e) <= 0) return false;
    if (e.type == SDL_USEREVENT && e.user.data1 == &timer_mark) release_tick();
    return true;
}

// SDL repeats nothing until asked: the classic library leaves out the X
// server's own repeats, the compatibility one SDL2's.
void key_repeat(int delay, int interval) { SDL_EnableKeyRepeat(delay, interval); }

void timer(int period) {
    if (timer_id) {
        SDL_RemoveTimer(timer_id);
        timer_id = nullptr;
    }
    if (period > 0) timer_id = SDL_AddTimer(static_cast<Uint32>(period), timer_event, nullptr);
}

// Sound: SDL's one audio device (sdl_audio.cpp), fed on its own thread.
bool sound_allowed() { return true; }

bool open_sound(sound_filler fill, std::string& reason) {
    // The compatibility library already fails here where there is no device,
    // the classic one at SDL_OpenAudio; neither waits.
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) < 0) {
        reason = SDL_GetError();
        return false;
    }
    if (sdl_audio::open(fill, reason)) return true;
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return false;
}

void lock_sound() {
    if (sdl_audio::is_open()) SDL_LockAudio();
}

void unlock_sound() {
    if (sdl_audio::is_open()) SDL_UnlockAudio();
}

void close_sound() { sdl_audio::close(); }

}  // namespace kavex::sdl_side
