// A dot: the pixel under the pen, and a pixel read back. The dot's fast path
// is inline (dot_inline.hpp).
#include "explain.hpp"
#include "graphics.hpp"
#include "pixels.hpp"

namespace kavex {

// The inline draw_dot's way for a surface that must be locked first, and for
// every dot that it would not store.
void canvas::draw_dot_locked() {
    if (!pen_inside()) return detail::explain_no_surface("draw_dot");
    detail::locked_pixels px(surface);
    if (px) detail::store_pixel(px.at(pen_x, pen_y), static_cast<std::uint32_t>(color));
}

std::int32_t canvas::pixel(int x, int y) const {
    if (!detail::usable(surface) || !detail::contains(surface, x, y)) return -1;
    detail::locked_pixels px(surface);
    if (!px) return -1;
    return static_cast<std::int32_t>(detail::load_pixel(px.at(x, y)) & 0xFFFFFF);
}

}  // namespace kavex
