// A line cut where it leaves the surface. A line that stays inside is walked
// inline (line_inline.hpp), by the same walk.
#include "graphics.hpp"
#include "pixels.hpp"

#include <algorithm>
#include <cstdint>

namespace kavex {

using detail::line_shape;

namespace {

// How far the minor coordinate has gone after k steps of the walk.
std::int64_t minor_after(const line_shape& l, std::int64_t k) { return l.major > 0 ? k * l.minor / l.major : 0; }

// How many steps of the walk from (x, y) stay inside a w x h surface.
std::int64_t steps_inside(const line_shape& l, std::int64_t x, std::int64_t y, std::int64_t w, std::int64_t h) {
    const std::int64_t room_x = l.sx > 0 ? w - 1 - x : x;
    const std::int64_t room_y = l.sy > 0 ? h - 1 - y : y;
    const std::int64_t major_room = l.x_major ? room_x : room_y;
    const std::int64_t minor_room = l.x_major ? room_y : room_x;
    std::int64_t steps = std::min(l.major, major_room);
    // The minor offset floor(k * minor / major) stays within minor_room
    // while k * minor < (minor_room + 1) * major.
    if (l.minor > 0) steps = std::min(steps, ((minor_room + 1) * l.major - 1) / l.minor);
    return steps;
}

}  // namespace

// A line that leaves the surface, or one on a surface that must be locked:
// the number of steps that stay inside is worked out before the walk, so the
// walk itself checks nothing.
void canvas::draw_clipped_line(int dx, int dy) {
    detail::locked_pixels px(surface);
    if (!px) return;
    const line_shape l = detail::shape_of(dx, dy);
    const std::int64_t steps = steps_inside(l, pen_x, pen_y, surface->w, surface->h);
    detail::walk(px.at(pen_x, pen_y), px.pitch(), l, steps, static_cast<std::uint32_t>(color));
    const std::int64_t minor_done = minor_after(l, steps);
    pen_x += static_cast<std::int32_t>(l.sx * (l.x_major ? steps : minor_done));
    pen_y += static_cast<std::int32_t>(l.sy * (l.x_major ? minor_done : steps));
}

}  // namespace kavex
