// kavex's inline machinery, included at the end of graphics.hpp: not part of
// the library's interface, and subject to change. Read graphics.hpp instead.
//
// The pen's moves, dots and lines and the drawing commands are inline: the
// stream makes one of each for every dot or short line a program draws, and
// a call would cost more than the dot.
#pragma once

#include "graphics.hpp"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <type_traits>

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

// ---------------------------------------------------------------------------
// The drawing commands.

namespace detail {
// A position that no surface contains: where a double that no integer holds
// goes. A line towards it would still be drawn (the 32-bit difference from
// the pen points somewhere), so line_abs remembers that it has no target.
constexpr std::uint32_t nowhere = 0x80000000u;

template <class T>
constexpr bool holds_no_integer(T value) {
    if constexpr (std::is_floating_point_v<T>) {
        // 2^63 is exact in every floating type. Everything that truncates
        // into the 64-bit range, -2^63 included, passes; NaN fails both.
        // (A long double just above -2^63 - 1 truncates to -2^63 too.)
        constexpr T limit = static_cast<T>(9223372036854775808.0L);
        if constexpr (std::is_same_v<T, long double>) return !(value > -limit - 1 && value < limit);
        return !(value >= -limit && value < limit);
    } else {
        return false;
    }
}

// Truncates toward zero and wraps to 32 bits; a double that no 64-bit integer
// holds goes nowhere.
template <class T>
constexpr std::uint32_t to_word(T value) {
    static_assert(std::is_arithmetic_v<T>, "drawing commands take numbers");
    if constexpr (std::is_floating_point_v<T>) {
        if (holds_no_integer(value)) return nowhere;
        return static_cast<std::uint32_t>(static_cast<std::int64_t>(value));
    } else {
        return static_cast<std::uint32_t>(value);
    }
}

template <class T>
constexpr std::int32_t to_int(T value) {
    return static_cast<std::int32_t>(to_word(value));
}

// Target minus pen, with 32-bit wrap-around.
inline std::int32_t offset(std::uint32_t target, std::int32_t pen) {
    return static_cast<std::int32_t>(target - static_cast<std::uint32_t>(pen));
}
}  // namespace detail

template <class R, class G, class B>
inline use_color::use_color(R red, G green, B blue)
    : r(detail::to_int(red)), g(detail::to_int(green)), b(detail::to_int(blue)) {}

template <class X, class Y>
inline move_abs::move_abs(X x_, Y y_) : x(detail::to_word(x_)), y(detail::to_word(y_)) {}

template <class X, class Y>
inline line_abs::line_abs(X x_, Y y_)
    : x(detail::to_word(x_)), y(detail::to_word(y_)),
      nowhere_(detail::holds_no_integer(x_) || detail::holds_no_integer(y_)) {}

template <class X, class Y>
inline box_abs::box_abs(X x_, Y y_) : x(detail::to_word(x_)), y(detail::to_word(y_)) {}

template <class W, class H>
inline box_rel::box_rel(W w_, H h_) : w(detail::to_int(w_)), h(detail::to_int(h_)) {}

inline canvas& operator<<(canvas& c, const use_color& cmd) {
    c.set_color(cmd.r, cmd.g, cmd.b);
    return c;
}

inline canvas& operator<<(canvas& c, const move_abs& cmd) {
    c.move_to(cmd.x, cmd.y);
    return c;
}

inline canvas& operator<<(canvas& c, const line_abs& cmd) {
    if (cmd.nowhere_) return c;
    c.draw_line(detail::offset(cmd.x, c.pen_x), detail::offset(cmd.y, c.pen_y));
    return c;
}

inline canvas& operator<<(canvas& c, const box_abs& cmd) {
    c.draw_box(detail::offset(cmd.x, c.pen_x), detail::offset(cmd.y, c.pen_y));
    return c;
}

inline canvas& operator<<(canvas& c, const box_rel& cmd) {
    c.draw_box(cmd.w, cmd.h);
    return c;
}

inline void dot(canvas& c) { c.draw_dot(); }
inline void refresh(canvas& c) { c.refresh(); }

inline canvas& operator<<(canvas& c, void (*manipulator)(canvas&)) {
    manipulator(c);
    return c;
}

}  // namespace kavex
