// kavex's inline dot (included by graphics_inline.hpp; read graphics.hpp
// instead). Its way out of line, for a surface that must be locked and for a
// dot that is not stored, is in dot.cpp.
#pragma once

#include "graphics.hpp"

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace kavex {

// One pass of checks, then the store; a surface that must be locked, or has
// no pixels at hand, takes the way out of line, which checks on its own.
inline void canvas::draw_dot() {
    SDL_Surface* const s = surface;
    const std::int32_t x = pen_x;
    const std::int32_t y = pen_y;
    if (!detail::on_usable_surface(s, x, y) || SDL_MUSTLOCK(s) || !s->pixels) {
        draw_dot_locked();
        return;
    }
    // Rows are the surface's pitch apart; memcpy is one 32-bit store whatever
    // the alignment.
    std::memcpy(static_cast<std::uint8_t*>(s->pixels) + std::ptrdiff_t{y} * s->pitch + std::ptrdiff_t{x} * 4, &color, 4);
}

}  // namespace kavex
