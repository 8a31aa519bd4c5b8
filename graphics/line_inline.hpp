// kavex's inline line (included by graphics_inline.hpp; read graphics.hpp
// instead): its shape, the walk, and the path for a line that stays inside.
// A line that leaves the surface, or one on a surface that must be locked,
// is cut in line.cpp before the same walk.
#pragma once

#include "graphics.hpp"

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace kavex {

namespace detail {

// The shape of a line from the pen towards pen + (dx, dy).
struct line_shape {
    int sx, sy;                 // step signs
    bool x_major;               // a tie is x-major
    std::int64_t major, minor;  // |long| and |short| component
};

inline line_shape shape_of(int dx, int dy) {
    line_shape l;
    l.sx = dx > 0 ? 1 : -1;
    l.sy = dy > 0 ? 1 : -1;
    const std::int64_t adx = dx < 0 ? -std::int64_t{dx} : dx;
    const std::int64_t ady = dy < 0 ? -std::int64_t{dy} : dy;
    l.x_major = adx >= ady;
    l.major = l.x_major ? adx : ady;
    l.minor = l.x_major ? ady : adx;
    return l;
}

// The walk, `steps` steps after the start pixel at p: the error starts at 0,
// grows by minor at each step, and a step is diagonal when it reaches major.
// After k steps the minor coordinate has advanced floor(k * minor / major).
inline void walk(std::uint8_t* p, std::ptrdiff_t pitch, const line_shape& l, std::int64_t steps,
                 std::uint32_t value) {
    const std::ptrdiff_t step_x = 4 * l.sx;
    const std::ptrdiff_t step_y = pitch * l.sy;
    const std::ptrdiff_t straight = l.x_major ? step_x : step_y;
    const std::ptrdiff_t diagonal = step_x + step_y;
    std::memcpy(p, &value, 4);
    std::int64_t error = 0;
    for (std::int64_t k = 0; k < steps; ++k) {
        error += l.minor;
        if (error < l.major) {
            p += straight;
        } else {
            p += diagonal;
            error -= l.major;
        }
        std::memcpy(p, &value, 4);
    }
}

}  // namespace detail

// A line whose far end lies inside stays inside whole: it is walked at once,
// with no division and nothing to lock. Others are cut where they leave.
inline void canvas::draw_line(int dx, int dy) {
    SDL_Surface* const s = surface;
    if (!detail::on_usable_surface(s, pen_x, pen_y)) {
        detail::explain_no_surface("draw_line");
        return;
    }
    const std::int64_t end_x = std::int64_t{pen_x} + dx;
    const std::int64_t end_y = std::int64_t{pen_y} + dy;
    if (!detail::contains(s, end_x, end_y) || SDL_MUSTLOCK(s) || !s->pixels) {
        draw_clipped_line(dx, dy);
        return;
    }
    const detail::line_shape l = detail::shape_of(dx, dy);
    detail::walk(static_cast<std::uint8_t*>(s->pixels) + std::ptrdiff_t{pen_y} * s->pitch + 4 * std::ptrdiff_t{pen_x},
                 s->pitch, l, l.major, static_cast<std::uint32_t>(color));
    pen_x = static_cast<std::int32_t>(end_x);
    pen_y = static_cast<std::int32_t>(end_y);
}

}  // namespace kavex
