// Private to the library: what it asks of the SDL underneath.
//
// Above this seam the drawing works on plain 32-bit pixel memory (pixels.hpp)
// and calls SDL only through the functions below, with one exception: a
// surface is locked where SDL_MUSTLOCK says so (pixels.hpp, and the inline
// dot and line), and a side may redefine that macro (sdl_side_web.h).
//
// One file per SDL gives every function here:
//   sdl_side_desktop.cpp   a real SDL 1.2: the classic library, or the one on SDL2
//   sdl_side_web.cpp       the browser's SDL emulation (Emscripten), which cannot
//                          block, has no periodic timer, keyed blits, BMP
//                          writer or reader, and keeps its pixels in page canvases
//   sdl_side_playground.cpp  no SDL at all: a program compiled in the playground's
//                          page, whose picture and input the page carries
//   sdl_side_template.cpp  not built: a new side's starting point, each function
//                          with what it must do and a first, plain way to do it
// The build (CMakeLists.txt) picks one, beside one operating system's side
// (os_side.hpp).
#pragma once

#include "graphics.hpp"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace kavex::sdl_side {

// Starts SDL with the keyboard's Unicode translation; false when it cannot.
bool start();
// Shuts SDL down, at process exit.
void stop();
// SDL's own words for its last failure.
std::string last_error();

// A new 32-bit surface: 0x00RRGGBB words, rows a pitch apart, memory that
// stays, black. Null when it cannot be made.
SDL_Surface* create_surface(int width, int height);
// Keeps the mouse pointer out of the window's surface, where a side with no
// display may draw it (the classic library's dummy driver does): a replayed
// run has no mouse, and its pictures are the program's alone.
void hide_pointer();
// Sets the window to that size; its drawing surface, or null.
SDL_Surface* open_window(int width, int height, bool fullscreen);
// Puts the window's surface on the screen; the surface keeps the picture.
void show(SDL_Surface* window);
// The window's title, UTF-8, before or after it opens; start() sets the
// program's name (os_side::program_name) where the page has none of its own.
void set_title(const std::string& title);

// Fills `area`, which lies inside the surface, with `value`.
void fill(SDL_Surface* s, const SDL_Rect& area, std::uint32_t value);
// Copies `from_area` of `from` to `to_area` of `to` (the same size, both
// inside their surfaces; the two surfaces may be one). Keyed, black source
// pixels are left out.
void copy(SDL_Surface* from, const SDL_Rect& from_area, SDL_Surface* to, const SDL_Rect& to_area, bool keyed);

// A BMP file's bytes, complete.
struct encoded_image {
    std::unique_ptr<std::uint8_t[]> bytes;
    std::size_t size = 0;
};
// The surface as a 24-bit BMP; false when it cannot be encoded whole. A side
// whose SDL has no BMP writer uses bmp.hpp.
bool encode_bmp(SDL_Surface* s, encoded_image& out);
// Called once a file was saved whole (the page offers it for download).
void saved(const std::string& name);

// A picture read from a file: four bytes a pixel, red, green, blue and alpha
// (255 opaque), row after row from the top.
struct rgba_picture {
    std::unique_ptr<std::uint8_t[]> bytes;
    int width = 0;
    int height = 0;
};
// Reads a BMP file's bytes with SDL's own reader, every kind it knows; false
// when it cannot, with SDL's words for why in `reason`. The caller has
// checked the size the file claims. A side whose SDL has no BMP reader
// returns false with no reason: the library then reads the common kinds of
// BMP itself (load.cpp).
bool decode_bmp(const std::uint8_t* bytes, std::size_t size, rgba_picture& out, std::string& reason);

// Blocks until SDL's next event or timer tick (an SDL_USEREVENT whose code is
// the time the tick was due). False when waiting failed.
bool wait(SDL_Event& e);
// A tick every `period` ms, replacing the running timer; 0 or less stops it.
// At most `tick_limit` ticks wait; later ones are dropped while they wait, so
// that a program that falls behind still gets its keys, mouse and close.
void timer(int period);
constexpr int tick_limit = 2;

// A key held `delay` ms sends its SDL_KEYDOWN again every `interval` ms,
// character and all; both 0 (as at the start): a held key sends one. The
// arguments are both positive or both 0.
void key_repeat(int delay, int interval);

// Sound (sound.cpp starts it at a program's first sound, never before).
// Where the output needs 16-bit stereo at detail::sound_rate frames a
// second, it calls `fill` for them: on SDL's audio thread, or wherever the
// side has room for more. False while the output may not start yet (a page
// before its first click or key, which browsers keep silent): the library
// asks again at the next sound.
bool sound_allowed();
using sound_filler = void (*)(std::int16_t* frames, int count);
// Starts the output; false where nothing can sound, with why in `reason`.
bool open_sound(sound_filler fill, std::string& reason);
// Keeps `fill` from running between the two: the program's thread holds
// it while it changes what plays. Nothing while no output is open.
void lock_sound();
void unlock_sound();
// Stops the output, at process exit; `fill` is not called again.
void close_sound();

}  // namespace kavex::sdl_side
