// The canvas: pen-relative dots, lines and boxes on a 32-bit surface.
#include "graphics.hpp"
#include "pixels.hpp"

#include <algorithm>
#include <cstdlib>

namespace kavex {

using internal::contains;
using internal::locked_pixels;
using internal::max_height;
using internal::max_width;
using internal::store_pixel;
using internal::usable;

namespace {

SDL_Surface* create_surface(unsigned width, unsigned height) {
    if (width > max_width || height > max_height) return nullptr;
    return SDL_CreateRGBSurface(SDL_SRCCOLORKEY, static_cast<int>(width), static_cast<int>(height), 32,
                                0, 0, 0, 0);
}

// How many steps of a walk from `start` in direction `step` stay below `size`.
std::int64_t room(std::int64_t start, int step, std::int64_t size) {
    return step > 0 ? size - 1 - start : start;
}

}  // namespace

canvas::canvas() : surface(nullptr), color(0xFFFFFF), transparent(false) {}

canvas::canvas(int width, int height) : canvas() {
    open(static_cast<unsigned>(width), static_cast<unsigned>(height));
}

bool canvas::open(unsigned int width, unsigned int height) {
    surface = create_surface(width, height);
    pen_x = static_cast<std::int32_t>(width / 2);
    pen_y = static_cast<std::int32_t>(height / 2);
    return surface != nullptr;
}

void canvas::set_color(int red, int green, int blue) {
    color = (red & 0xFF) * 65536 + (green & 0xFF) * 256 + (blue & 0xFF);
}

bool canvas::pen_inside() const { return usable(surface) && contains(surface, pen_x, pen_y); }

bool canvas::move_point(int dx, int dy) {
    if (!usable(surface)) return false;
    const std::int64_t x = std::int64_t{pen_x} + dx;
    const std::int64_t y = std::int64_t{pen_y} + dy;
    if (!contains(surface, x, y)) return false;
    pen_x = static_cast<std::int32_t>(x);
    pen_y = static_cast<std::int32_t>(y);
    return true;
}

void canvas::draw_dot() {
    if (!pen_inside()) return;
    locked_pixels px(surface);
    if (px) store_pixel(px.at(pen_x, pen_y), static_cast<std::uint32_t>(color));
}

// An error-accumulating walk that starts at 0: after k steps the minor
// coordinate has advanced floor(k * short / long). The number of steps that
// stay inside is worked out first, so the loop itself checks nothing.
void canvas::draw_line(int dx, int dy) {
    if (!pen_inside()) return;
    locked_pixels px(surface);
    if (!px) return;

    const int sx = dx > 0 ? 1 : -1;
    const int sy = dy > 0 ? 1 : -1;
    const std::int64_t adx = std::llabs(dx);
    const std::int64_t ady = std::llabs(dy);
    const bool x_major = adx >= ady;
    const std::int64_t major = x_major ? adx : ady;
    const std::int64_t minor = x_major ? ady : adx;

    const std::int64_t room_x = room(pen_x, sx, surface->w);
    const std::int64_t room_y = room(pen_y, sy, surface->h);
    const std::int64_t major_room = x_major ? room_x : room_y;
    const std::int64_t minor_room = x_major ? room_y : room_x;
    std::int64_t steps = std::min(major, major_room);
    // The minor offset floor(k * minor / major) stays within minor_room
    // while k * minor < (minor_room + 1) * major.
    if (minor > 0) steps = std::min(steps, ((minor_room + 1) * major - 1) / minor);

    const std::ptrdiff_t step_x = 4 * sx;
    const std::ptrdiff_t step_y = px.pitch() * sy;
    const std::ptrdiff_t straight = x_major ? step_x : step_y;
    const std::ptrdiff_t diagonal = step_x + step_y;
    const auto value = static_cast<std::uint32_t>(color);

    std::uint8_t* p = px.at(pen_x, pen_y);
    store_pixel(p, value);
    std::int64_t error = 0;
    for (std::int64_t k = 0; k < steps; ++k) {
        error += minor;
        if (error < major) {
            p += straight;
        } else {
            p += diagonal;
            error -= major;
        }
        store_pixel(p, value);
    }

    const std::int64_t minor_done = major > 0 ? steps * minor / major : 0;
    pen_x += static_cast<std::int32_t>(sx * (x_major ? steps : minor_done));
    pen_y += static_cast<std::int32_t>(sy * (x_major ? minor_done : steps));
}

void canvas::draw_box(int dx, int dy) {
    if (!pen_inside()) return;
    const std::int32_t x0 = pen_x;
    const std::int32_t y0 = pen_y;
    // Rows past SDL_Rect's reach would wrap into the wrong rectangle.
    if (std::max<std::int64_t>(y0, std::int64_t{y0} + dy) > max_height) return;
    if (!move_point(dx, dy)) return;
    SDL_Rect rect;
    rect.x = static_cast<Sint16>(std::min(x0, pen_x));
    rect.y = static_cast<Sint16>(std::min(y0, pen_y));
    rect.w = static_cast<Uint16>(std::abs(pen_x - x0) + 1);
    rect.h = static_cast<Uint16>(std::abs(pen_y - y0) + 1);
    SDL_FillRect(surface, &rect, static_cast<Uint32>(color));
}

}  // namespace kavex
