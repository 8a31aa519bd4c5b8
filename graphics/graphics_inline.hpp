// kavex's inline machinery, included at the end of graphics.hpp: not part of
// the library's interface, and subject to change. Read graphics.hpp instead.
//
// The pen's moves, dots and lines and the drawing commands are inline: the
// stream makes one of each for every dot or short line a program draws, and
// a call would cost more than the dot. This file holds what they share (the
// checks of a surface and the pen's moves); each primitive's own inline path
// is in a file named after it, beside its out-of-line part:
//   dot_inline.hpp     dot.cpp
//   line_inline.hpp    line.cpp
//   stream_inline.hpp  the drawing commands (use_color, move_abs, line_abs, ...)
#pragma once

#include "graphics.hpp"

#include <cstdint>

namespace kavex {

namespace detail {

// A surface the library can draw on: it exists, has at least one pixel, four
// bytes per pixel, and rows long enough for its width that start on a whole
// pixel (SDL2's fill, under the compatibility library, runs off the end of a
// surface whose rows lie a few bytes more than a whole pixel apart).
inline bool usable(const SDL_Surface* s) {
    return s && s->w > 0 && s->h > 0 && s->format && s->format->BytesPerPixel == 4 &&
           s->pitch >= 4 * s->w && s->pitch % 4 == 0;
}

inline bool contains(const SDL_Surface* s, std::int64_t x, std::int64_t y) {
    return x >= 0 && y >= 0 && x < s->w && y < s->h;
}

// Whether (x, y) lies on a usable surface, reading each field once: the
// check of every dot and every move. A side that is 0 or negative holds no
// coordinate, so it needs no test of its own.
inline bool on_usable_surface(const SDL_Surface* s, std::int32_t x, std::int32_t y) {
    if (!s || !s->format || s->format->BytesPerPixel != 4) return false;
    const std::int64_t w = s->w;
    const std::int64_t pitch = s->pitch;
    return static_cast<std::uint32_t>(x) < w && static_cast<std::uint32_t>(y) < std::int64_t{s->h} &&
           4 * w <= pitch && pitch % 4 == 0;
}

// Called only where drawing fails, out of line: with KAVEX_EXPLAIN set they
// tell the user why, once per kind of mistake.
void explain_no_surface(const char* operation);
void explain_refused_move(const canvas& c, long long x, long long y);

}  // namespace detail

inline bool canvas::pen_inside() const { return detail::on_usable_surface(surface, pen_x, pen_y); }

// move_point(x - pen_x, y - pen_y), the differences wrapping at 32 bits.
// While the pen's coordinates are not negative, that target lies on the
// surface exactly when x, y read as signed numbers do, and is then x, y:
// so the new pen does not have to wait for the old one.
inline bool canvas::move_to(std::uint32_t x, std::uint32_t y) {
    if ((pen_x | pen_y) < 0) {
        return move_point(static_cast<std::int32_t>(x - static_cast<std::uint32_t>(pen_x)),
                          static_cast<std::int32_t>(y - static_cast<std::uint32_t>(pen_y)));
    }
    const auto target_x = static_cast<std::int32_t>(x);
    const auto target_y = static_cast<std::int32_t>(y);
    if (!detail::on_usable_surface(surface, target_x, target_y)) {
        detail::explain_refused_move(*this, target_x, target_y);
        return false;
    }
    pen_x = target_x;
    pen_y = target_y;
    return true;
}

inline bool canvas::move_point(int dx, int dy) {
    const std::int64_t x = std::int64_t{pen_x} + dx;
    const std::int64_t y = std::int64_t{pen_y} + dy;
    if (!detail::usable(surface) || !detail::contains(surface, x, y)) {
        detail::explain_refused_move(*this, x, y);
        return false;
    }
    pen_x = static_cast<std::int32_t>(x);
    pen_y = static_cast<std::int32_t>(y);
    return true;
}

}  // namespace kavex

#include "dot_inline.hpp"
#include "line_inline.hpp"
#include "stream_inline.hpp"
