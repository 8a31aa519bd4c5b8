// A filled box between the pen and a corner, drawn whole or not at all.
#include "explain.hpp"
#include "graphics.hpp"
#include "pixels.hpp"
#include "sdl_side.hpp"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace kavex {

namespace {

void explain_box_outside(const canvas& c, std::int64_t x, std::int64_t y) {
    detail::explain(detail::mistake::box_outside, [&] {
        return detail::words(detail::text::box_outside, {{"pen_x", c.pen_x}, {"pen_y", c.pen_y}, {"x", x}, {"y", y},
                                                         {"width", c.surface->w}, {"height", c.surface->h}});
    });
}

}  // namespace

void canvas::draw_box(int dx, int dy) {
    if (!pen_inside()) return detail::explain_no_surface("draw_box");
    const std::int64_t x = std::int64_t{pen_x} + dx;
    const std::int64_t y = std::int64_t{pen_y} + dy;
    // Rows past SDL_Rect's reach would wrap into the wrong rectangle.
    if (!detail::contains(surface, x, y) || std::max<std::int64_t>(pen_y, y) > detail::max_height)
        return explain_box_outside(*this, x, y);
    SDL_Rect rect;
    rect.x = static_cast<Sint16>(std::min<std::int64_t>(pen_x, x));
    rect.y = static_cast<Sint16>(std::min<std::int64_t>(pen_y, y));
    rect.w = static_cast<Uint16>(std::abs(dx) + 1);
    rect.h = static_cast<Uint16>(std::abs(dy) + 1);
    pen_x = static_cast<std::int32_t>(x);
    pen_y = static_cast<std::int32_t>(y);
    sdl_side::fill(surface, rect, static_cast<std::uint32_t>(color));
}

}  // namespace kavex
