// A new SDL side: copy this file to sdl_side_NAME.cpp, fill in each function,
// and pick it in CMakeLists.txt where the other sides are picked. The library
// is not built on it; the tests link a program on it (tests/compile), so that
// it gives every function the seam asks for. Every function here fails
// safely: on it, the library starts nothing and draws nothing.
//
// What each function must do is said in sdl_side.hpp; below, the way the two
// sides that exist do it. The drawing code needs no change: it writes the
// pixels of the surfaces made here itself (pixels.hpp), and asks SDL_MUSTLOCK
// first. Then run the unit suites on the new side (tests/unit): they hold
// every operation to the same pixels on every side.
#include "os_side.hpp"
#include "sdl_side.hpp"

namespace kavex::sdl_side {

// Call os_side::prepare_process() first, then start SDL's video (and timer,
// if it has one) and switch on the keyboard's Unicode translation.
bool start() { return false; }

// SDL_Quit(), and give back whatever start() took (signal handlers).
void stop() {}

std::string last_error() { return "this SDL side is not written yet"; }

// SDL_CreateRGBSurface(0, width, height, 32, 0, 0, 0, 0) where SDL's surfaces
// are plain memory; otherwise memory of the library's own, zeroed, in a
// surface record marked SDL_PREALLOC (sdl_side_web.cpp).
SDL_Surface* create_surface(int, int) { return nullptr; }

// SDL_SetVideoMode(width, height, 32, ...), or a surface of the library's
// own that show() puts on the screen.
SDL_Surface* open_window(int, int, bool) { return nullptr; }

// SDL_Flip, or a copy of the window's pixels to the screen.
// Where the side draws a pointer into the window's surface: hide it.
void hide_pointer() {}

void show(SDL_Surface*) {}

// SDL_WM_SetCaption(title, title), then os_side::show_title(title) for a
// system where SDL narrows it; start() gives it os_side::program_name().
void set_title(const std::string&) {}

// SDL_FillRect, or a loop over the rows (sdl_side_web.cpp).
void fill(SDL_Surface*, const SDL_Rect&, std::uint32_t) {}

// SDL_UpperBlit with a black colour key when keyed; within one surface, the
// source taken aside first, since a keyed blit reads what it has written.
void copy(SDL_Surface*, const SDL_Rect&, SDL_Surface*, const SDL_Rect&, bool) {}

// SDL_SaveBMP_RW into memory, or detail::encode_bmp24 (bmp.hpp).
bool encode_bmp(SDL_Surface*, encoded_image&) { return false; }

void saved(const std::string&) {}

// SDL_RWFromConstMem and SDL_LoadBMP_RW, each pixel through SDL_GetRGBA
// (sdl_side_desktop.cpp); or false with no reason, where SDL reads no BMP
// from memory, and the library reads the common kinds itself.
bool decode_bmp(const std::uint8_t*, std::size_t, rgba_picture&, std::string&) { return false; }

// SDL_WaitEvent; a timer tick arrives as an SDL_USEREVENT whose code is the
// time it was due. Where SDL cannot block, poll and sleep (sdl_side_web.cpp).
bool wait(SDL_Event&) { return false; }

// SDL_AddTimer whose callback pushes the tick, at most tick_limit waiting
// (sdl_side_desktop.cpp); or ticks made inside wait() (sdl_side_web.cpp).
void timer(int) {}

// SDL_EnableKeyRepeat(delay, interval). Where SDL cannot repeat but the
// system sends repeated presses of its own, drop those and repeat the last
// key pressed from wait(), as the timer's ticks are made (sdl_side_web.cpp).
void key_repeat(int, int) {}

// True, unless the output must wait for the visitor's first click or key
// (sdl_side_web.cpp asks the page).
bool sound_allowed() { return true; }

// SDL_InitSubSystem(SDL_INIT_AUDIO), then SDL_OpenAudio asking for 16-bit
// stereo at detail::sound_rate and letting SDL convert, its callback calling
// `fill`, and SDL_PauseAudio(0) (sdl_side_desktop.cpp). With no SDL audio,
// hand the page what `fill` gives, ahead of what it plays
// (sdl_side_playground.cpp).
bool open_sound(sound_filler, std::string& reason) {
    reason = "this SDL side has no sound yet";
    return false;
}

// SDL_LockAudio and SDL_UnlockAudio, once the output is open.
void lock_sound() {}
void unlock_sound() {}

// SDL_CloseAudio.
void close_sound() {}

}  // namespace kavex::sdl_side
