// Private to the library: the few things it asks of the system underneath.
//
// The drawing code works on plain 32-bit pixel memory and calls SDL only
// through these functions. Two files implement SDL's side: platform_desktop.cpp
// on a real SDL 1.2, and platform_web.cpp on the browser's SDL emulation, which
// cannot block, has no periodic timer, keyed blits or BMP writer, and keeps
// its pixels in page canvases. Two implement the operating system's side:
// os_posix.cpp (Linux, macOS, the browser) and os_windows.cpp. The build picks
// one of each.
#pragma once

#include "graphics.hpp"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace kavex::platform {

// Starts SDL with the keyboard's Unicode translation; false when it cannot.
bool start();
// Whatever the operating system wants done before SDL starts.
void prepare_process();
// Shuts SDL down, at process exit.
void stop();
// SDL's own words for its last failure.
std::string last_error();

// A new 32-bit surface: 0x00RRGGBB words, rows a pitch apart, memory that
// stays. Null when it cannot be made.
SDL_Surface* create_surface(int width, int height);
// Sets the window to that size; its drawing surface, or null.
SDL_Surface* open_window(int width, int height, bool fullscreen);
// Puts the window's surface on the screen; the surface keeps the picture.
void show(SDL_Surface* window);

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
// The surface as a 24-bit BMP; false when it cannot be encoded whole.
bool encode_bmp(SDL_Surface* s, encoded_image& out);
// Called once a file was saved whole.
void saved(const std::string& name);
// Writes `size` bytes as the file `name` (UTF-8): the whole file or none, an
// earlier file of that name untouched on failure. When it fails, `reason`
// holds the system's own words for why.
bool write_file(const std::string& name, const std::uint8_t* bytes, std::size_t size, std::string& reason);

// Blocks until SDL's next event or timer tick (an SDL_USEREVENT whose code is
// the time the tick was due). False when waiting failed.
bool wait(SDL_Event& e);
// A tick every `period` ms, replacing the running timer; 0 or less stops it.
// At most two ticks wait; later ones are dropped while two wait.
void timer(int period);

}  // namespace kavex::platform
