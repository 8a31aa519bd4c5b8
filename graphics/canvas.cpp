// The canvas: pen-relative dots, lines and boxes on a 32-bit surface.
#include "explain.hpp"
#include "graphics.hpp"
#include "pixels.hpp"
#include "platform.hpp"

#include <algorithm>
#include <cstdlib>

namespace kavex {

using internal::contains;
using internal::locked_pixels;
using internal::max_height;
using internal::max_width;
using internal::store_pixel;
using internal::usable;
using detail::line_shape;
using detail::shape_of;
using detail::walk;

namespace {

SDL_Surface* create_surface(unsigned width, unsigned height) {
    if (width > max_width || height > max_height) return nullptr;
    return platform::create_surface(static_cast<int>(width), static_cast<int>(height));
}

}  // namespace

canvas::canvas() : surface(nullptr), color(0xFFFFFF), transparent(false) {}

canvas::canvas(int width, int height) : canvas() {
    open(static_cast<unsigned>(width), static_cast<unsigned>(height));
}

bool canvas::open(unsigned int width, unsigned int height) {
    // Through a canvas& that refers to the window, open means the window.
    groutput& window = groutput::instance();
    if (this == &window) return window.open(width, height);

    surface = create_surface(width, height);
    pen_x = static_cast<std::int32_t>(width / 2);
    pen_y = static_cast<std::int32_t>(height / 2);
    if (!surface)
        internal::explain_failed_open("open", width, height, "The canvas has no surface, so drawing on it does nothing.");
    return surface != nullptr;
}

// A canvas that shares the window's surface (a copy of gout) shows the window.
void canvas::refresh() {
    groutput& window = groutput::instance();
    if (surface && surface == window.surface) window.refresh();
}

void canvas::set_color(int red, int green, int blue) {
    color = (red & 0xFF) * 65536 + (green & 0xFF) * 256 + (blue & 0xFF);
}

// The inline draw_dot's way for a surface that must be locked first, and for
// every dot that it would not store.
void canvas::draw_dot_locked() {
    if (!pen_inside()) return detail::explain_no_surface("draw_dot");
    locked_pixels px(surface);
    if (px) store_pixel(px.at(pen_x, pen_y), static_cast<std::uint32_t>(color));
}

namespace {

// After k steps the minor coordinate has advanced floor(k * minor / major).
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
    locked_pixels px(surface);
    if (!px) return;
    const line_shape l = shape_of(dx, dy);
    const std::int64_t steps = steps_inside(l, pen_x, pen_y, surface->w, surface->h);
    walk(px.at(pen_x, pen_y), px.pitch(), l, steps, static_cast<std::uint32_t>(color));
    const std::int64_t minor_done = minor_after(l, steps);
    pen_x += static_cast<std::int32_t>(l.sx * (l.x_major ? steps : minor_done));
    pen_y += static_cast<std::int32_t>(l.sy * (l.x_major ? minor_done : steps));
}

void canvas::draw_box(int dx, int dy) {
    if (!pen_inside()) return detail::explain_no_surface("draw_box");
    const std::int64_t x = std::int64_t{pen_x} + dx;
    const std::int64_t y = std::int64_t{pen_y} + dy;
    // Rows past SDL_Rect's reach would wrap into the wrong rectangle.
    if (!contains(surface, x, y) || std::max<std::int64_t>(pen_y, y) > max_height) {
        internal::explain(internal::mistake::box_outside, [&] {
            return "a box from the pen (" + std::to_string(pen_x) + ", " + std::to_string(pen_y) + ") to (" +
                   std::to_string(x) + ", " + std::to_string(y) + ") was left out: that corner lies outside the " +
                   internal::size_text(surface->w, surface->h) + " surface, and a box is drawn whole or not at all.";
        });
        return;
    }
    SDL_Rect rect;
    rect.x = static_cast<Sint16>(std::min<std::int64_t>(pen_x, x));
    rect.y = static_cast<Sint16>(std::min<std::int64_t>(pen_y, y));
    rect.w = static_cast<Uint16>(std::abs(dx) + 1);
    rect.h = static_cast<Uint16>(std::abs(dy) + 1);
    pen_x = static_cast<std::int32_t>(x);
    pen_y = static_cast<std::int32_t>(y);
    platform::fill(surface, rect, static_cast<std::uint32_t>(color));
}

}  // namespace kavex
