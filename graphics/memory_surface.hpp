// Private to the library's browser sides (sdl_side_web.cpp,
// sdl_side_playground.cpp): surfaces in plain memory that the library owns,
// for an SDL that keeps its pictures elsewhere or has none.
//
//   SDL_Surface* s = memory_surface::create(400, 400);  // black, 0x00RRGGBB
//   memory_surface::fill(s, area, 0xFFFFFF);
//   memory_surface::release(s);
//
// Their pixels stay where they are and need no lock: a surface with no
// offset and none of SDL's hardware flags is one that SDL_MUSTLOCK passes.
#pragma once

#include "graphics.hpp"
#include "sdl_side.hpp"

#include <cstdint>

namespace kavex::memory_surface {

// A 32-bit surface in the desktop's layout, black; null without memory.
SDL_Surface* create(int width, int height);
// Frees a surface that create() made.
void release(SDL_Surface* s);
// Fills `area`, which lies inside the surface, with `value`.
void fill(SDL_Surface* s, const SDL_Rect& area, std::uint32_t value);
// Copies an area to one of the same size (the surfaces may be one, the
// areas may overlap); keyed, black source pixels are left out.
void copy(SDL_Surface* from, const SDL_Rect& from_area, SDL_Surface* to, const SDL_Rect& to_area, bool keyed);
// The surface as a 24-bit BMP file (bmp.hpp), for a side with no SDL to write one.
bool encode_bmp(SDL_Surface* s, sdl_side::encoded_image& out);
// The surface's pixels as a page's canvas holds them: bytes red, green,
// blue and alpha (opaque), rows `to_pitch` bytes apart.
void to_rgba(const SDL_Surface* s, std::uint8_t* to, int to_pitch);

}  // namespace kavex::memory_surface
