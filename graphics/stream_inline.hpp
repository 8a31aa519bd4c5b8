// kavex's drawing commands, inline (included by graphics_inline.hpp; read
// graphics.hpp instead): each turns its absolute numbers into the canvas's
// pen-relative call.
#pragma once

#include "graphics.hpp"

#include <cstdint>
#include <type_traits>

namespace kavex {

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

template <class R>
inline disc::disc(R r_) : r(detail::to_int(r_)) {}

template <class R>
inline circle::circle(R r_) : r(detail::to_int(r_)) {}

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

// A radius that no integer holds arrives as `nowhere`, which read as a
// signed radius is negative: nothing is drawn.
static_assert(static_cast<std::int32_t>(detail::nowhere) < 0, "nowhere must be a radius that draws nothing");

inline canvas& operator<<(canvas& c, const disc& cmd) {
    c.draw_disc(cmd.r);
    return c;
}

inline canvas& operator<<(canvas& c, const circle& cmd) {
    c.draw_circle(cmd.r);
    return c;
}

inline void dot(canvas& c) { c.draw_dot(); }
inline void refresh(canvas& c) { c.refresh(); }

inline canvas& operator<<(canvas& c, void (*manipulator)(canvas&)) {
    manipulator(c);
    return c;
}

}  // namespace kavex
