// kavex: a small graphics environment on SDL 1.2.
//
// One window (`gout`), drawing surfaces (`canvas`) with a pen and a colour,
// and one input source (`gin`) that delivers keys, mouse and timer ticks.
//
//   #include "graphics.hpp"
//   using namespace kavex;
//
//   int main() {
//       gout.open(400, 300);
//       gout << use_color(255, 200, 0) << move_abs(20, 20) << line_abs(380, 280)
//            << move_abs(50, 200) << box_rel(60, 40) << refresh;
//       event ev;
//       while (gin.wait_event(ev)) {}   // runs until the window is closed
//   }
//
// Coordinates are pixels, (0, 0) top left, y downwards. Colours are packed
// 0x00RRGGBB. Drawing is pen-relative: every drawing operation starts at the
// pen and leaves the pen where it stopped. A move that would leave the surface
// is refused, never clipped. Nothing here throws; failures are bool results.
//
// Build a program with `pkg-config --cflags --libs kavex`, or in CMake with
// find_package(kavex CONFIG REQUIRED) and the target kavex::kavex. Every name
// is in the reference, docs/api.md (installed in share/doc/kavex/docs).
//
// SDL starts before main. Where it cannot, for want of a display, the program
// ends at once with status 1 and no message: run it under `xvfb-run -a`, or
// with SDL_VIDEODRIVER=dummy where no picture is needed. Either SDL 1.2 runs
// it: the classic library or the one on SDL2 (libsdl1.2-compat).
#pragma once

#include <SDL/SDL.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <type_traits>

namespace kavex {

struct move_abs;

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

// contains() for a usable surface, whose sides are positive: one unsigned
// compare per coordinate refuses the negative ones as well.
inline bool on_usable(const SDL_Surface* s, std::int32_t x, std::int32_t y) {
    return static_cast<std::uint32_t>(x) < static_cast<std::uint32_t>(s->w) &&
           static_cast<std::uint32_t>(y) < static_cast<std::uint32_t>(s->h);
}

}  // namespace detail

// A 32-bit image (red in bits 16-23, green 8-15, blue 0-7) with a pen and a
// drawing colour. Operations on a canvas without a usable surface do nothing.
class canvas {
public:
    std::int32_t pen_x;           // pen column; inside the surface while open
    std::int32_t pen_y;           // pen row
    SDL_Surface* surface;         // null while closed; never released by the library
    std::int32_t color;           // drawing colour, 0x00RRGGBB
    bool transparent;             // as a copy source, leave its black pixels out

    canvas();                     // closed, white, pen not set
    canvas(int width, int height);  // opened at that size, pen in the centre

    // Creates a new surface and puts the pen in its centre (rounded down),
    // even when the surface cannot be created. True if it was created.
    bool open(unsigned int width, unsigned int height);

    // Low 8 bits of each argument: set_color(300, -1, 0) gives 0x2CFF00.
    void set_color(int red, int green, int blue);
    void set_transparent(bool on) { transparent = on; }

    // Moves the pen by (dx, dy) if the target lies inside; false otherwise.
    bool move_point(int dx, int dy);
    // Sets the pixel under the pen.
    void draw_dot();
    // Draws from the pen to pen + (dx, dy), both ends included; the pen
    // follows. A line that leaves the surface stops at its last pixel inside.
    void draw_line(int dx, int dy);
    // Fills the rectangle between the pen and pen + (dx, dy), both corners
    // included; the pen goes to the far corner. Draws nothing if it lies outside.
    void draw_box(int dx, int dy);

    // Draws text in the built-in 8 x 17 font at the pen, in the drawing colour,
    // blending with what is there. Letters stand on the row above the pen; each
    // character moves the pen 8 pixels right, and a newline starts a new line
    // 17 rows lower under the first character. Text that does not fit
    // vertically is not drawn; text reaching the right edge ends there.
    void draw_text(const std::string& text);
    // Width in pixels of the text's longest line: 8 per byte.
    int twidth(const std::string& text) const;
    int cascent() const;   // 13: rows of a glyph above the pen row
    int cdescent() const;  // 4: the pen row and the 3 rows below it

    // Copies the rectangle (sx, sy, w, h) of `source` to (dx, dy) here, clipped
    // to both surfaces; -1 for sx or sy means 0, for w or h the source's size.
    // A transparent source leaves out its black pixels when both rectangles
    // lie wholly inside their surfaces; any other copy copies black too.
    void blitfrom(const canvas& source, int sx, int sy, int w, int h, int dx, int dy);
    // Copies the whole of `source` with its top-left corner at (dx, dy).
    void blitfrom(const canvas& source, int dx, int dy);
    // Writes the picture to a 24-bit BMP file. True only when the whole file
    // was written; on failure an earlier file of that name stays as it was.
    bool save(const std::string& name) const;

    // Makes the drawing visible: a plain canvas has nothing to show.
    virtual void refresh() {}

private:
    bool pen_inside() const { return detail::usable(surface) && detail::on_usable(surface, pen_x, pen_y); }

    // move_point(x - pen_x, y - pen_y), the differences wrapping at 32 bits.
    // While the pen's coordinates are not negative, that target lies on the
    // surface exactly when x, y read as signed numbers do, and is then x, y:
    // so the new pen does not have to wait for the old one.
    bool move_to(std::uint32_t x, std::uint32_t y) {
        if ((pen_x | pen_y) < 0) {
            return move_point(static_cast<std::int32_t>(x - static_cast<std::uint32_t>(pen_x)),
                              static_cast<std::int32_t>(y - static_cast<std::uint32_t>(pen_y)));
        }
        const auto target_x = static_cast<std::int32_t>(x);
        const auto target_y = static_cast<std::int32_t>(y);
        if (!detail::usable(surface) || !detail::on_usable(surface, target_x, target_y)) return false;
        pen_x = target_x;
        pen_y = target_y;
        return true;
    }

    void draw_dot_locked();
    void draw_clipped_line(int dx, int dy);
    friend canvas& operator<<(canvas& c, const move_abs& cmd);
};

// The program's one window; reached through `gout`.
class groutput : public canvas {
public:
    static groutput& instance();

    // Sets a 32-bit video mode of that size; the pen goes to the centre
    // whatever the result. True if SDL gave a surface. When it fails,
    // `surface` stays null and drawing and refresh do nothing: test it.
    bool open(unsigned width, unsigned height, bool fullscreen = false);
    // Puts the picture on the screen; the surface keeps it for the next frame.
    void refresh() override;
    virtual ~groutput();

private:
    groutput();
};

extern groutput& gout;

// ---------------------------------------------------------------------------
// Input: one record for every kind of input, from one blocking wait.
//
//   gin.timer(40);                  // a tick every 40 ms
//   event ev;
//   while (gin.wait_event(ev)) {    // false once the window is closed
//       if (ev.key == key_left) ...
//       if (ev.ticks) ...
//   }

// A field that the event does not carry is 0.
struct event {
    std::int32_t key;      // key code below: positive pressed, negated released
    std::int32_t mouse_x;  // pointer position in the window, for mouse moves
    std::int32_t mouse_y;  //   and buttons; never negative
    std::int32_t button;   // 1 left, 2 middle, 3 right, 4/5 wheel; negated released
    std::int32_t ticks;    // a timer tick: SDL's milliseconds when it fired
};

// The program's one input source; reached through `gin`.
class grinput {
public:
    bool quit;  // the window was closed (or waiting failed); stays set

    static grinput& instance();

    // Blocks until the next key, mouse or tick event and fills the record.
    // Once `quit` is set it returns at once with an all-zero record.
    grinput& wait_event(event& ev);
    // A tick every `period` ms, replacing the running timer; 0 or less stops it.
    // When the program falls behind, at most two ticks wait and later ones
    // are dropped, so keys, the mouse and the close request always get through.
    void timer(int period);

    // True while the window is open: `while (gin.wait_event(ev))`.
    operator const void*() const { return quit ? nullptr : this; }

private:
    grinput();
};

extern grinput& gin;

// Key codes in event::key. A typed character is its byte in Windows code
// page 1250 where that code page holds it (space 32, 'a' 97, s with caron
// 0x9A, euro sign 0x80), otherwise its Unicode value; keys that type no
// character have the codes below. A key with no code (the release of a
// letter key, for one) is not reported.
constexpr std::int32_t key_up = 0x10000;
constexpr std::int32_t key_down = 0x10001;
constexpr std::int32_t key_right = 0x10002;
constexpr std::int32_t key_left = 0x10003;
constexpr std::int32_t key_insert = 0x10004;
constexpr std::int32_t key_delete = 0x10005;
constexpr std::int32_t key_home = 0x10006;
constexpr std::int32_t key_end = 0x10007;
constexpr std::int32_t key_pgup = 0x10008;     // Page Up
constexpr std::int32_t key_pgdn = 0x10009;     // Page Down
constexpr std::int32_t key_rshift = 0x1000A;   // right Shift: the lower code of the pair
constexpr std::int32_t key_lshift = 0x1000B;
constexpr std::int32_t key_lctrl = 0x1000C;    // left Ctrl and Alt: the lower codes
constexpr std::int32_t key_rctrl = 0x1000D;
constexpr std::int32_t key_lalt = 0x1000E;
constexpr std::int32_t key_ralt = 0x1000F;
constexpr std::int32_t key_lsuper = 0x10010;   // the "Windows" keys
constexpr std::int32_t key_rsuper = 0x10011;
constexpr std::int32_t key_menu = 0x10012;
constexpr std::int32_t key_numlock = 0x10013;
constexpr std::int32_t key_capslock = 0x10014;
constexpr std::int32_t key_scrlock = 0x10015;  // Scroll Lock
// Function key Fn is 0x20000 + n.
constexpr std::int32_t key_f1 = 0x20001;
constexpr std::int32_t key_f2 = 0x20002;
constexpr std::int32_t key_f3 = 0x20003;
constexpr std::int32_t key_f4 = 0x20004;
constexpr std::int32_t key_f5 = 0x20005;
constexpr std::int32_t key_f6 = 0x20006;
constexpr std::int32_t key_f7 = 0x20007;
constexpr std::int32_t key_f8 = 0x20008;
constexpr std::int32_t key_f9 = 0x20009;
constexpr std::int32_t key_f10 = 0x2000A;
constexpr std::int32_t key_f11 = 0x2000B;
constexpr std::int32_t key_f12 = 0x2000C;
constexpr std::int32_t key_f13 = 0x2000D;
constexpr std::int32_t key_f14 = 0x2000E;
constexpr std::int32_t key_f15 = 0x2000F;

// ---------------------------------------------------------------------------
// The pen's moves, dots and lines are inline: the stream makes one of each
// for every dot or short line a program draws, and a call would cost more
// than the dot.

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

inline bool canvas::move_point(int dx, int dy) {
    if (!detail::usable(surface)) return false;
    const std::int64_t x = std::int64_t{pen_x} + dx;
    const std::int64_t y = std::int64_t{pen_y} + dy;
    if (!detail::contains(surface, x, y)) return false;
    pen_x = static_cast<std::int32_t>(x);
    pen_y = static_cast<std::int32_t>(y);
    return true;
}

inline void canvas::draw_dot() {
    if (!pen_inside()) return;
    if (SDL_MUSTLOCK(surface) || !surface->pixels) {
        draw_dot_locked();
        return;
    }
    // Rows are the surface's pitch apart; memcpy is one 32-bit store whatever
    // the alignment.
    std::memcpy(static_cast<std::uint8_t*>(surface->pixels) + std::ptrdiff_t{pen_y} * surface->pitch +
                    std::ptrdiff_t{pen_x} * 4,
                &color, 4);
}

// A line whose far end lies inside stays inside whole: it is walked at once,
// with no division and nothing to lock. Others are cut where they leave.
inline void canvas::draw_line(int dx, int dy) {
    SDL_Surface* const s = surface;
    if (!detail::usable(s) || !detail::on_usable(s, pen_x, pen_y)) return;
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
// Drawing command stream: gout << move_abs(x, y) << line_abs(x2, y2) << refresh;
// Positions are absolute; each command reads the pen when it is applied.

namespace detail {
// A position that no surface contains.
constexpr std::uint32_t nowhere = 0x80000000u;

// Truncates toward zero and wraps to 32 bits. A value that no 64-bit integer
// holds (NaN, infinities, huge values) goes nowhere, so the command is
// refused like any other off-surface one.
template <class T>
constexpr std::uint32_t to_word(T value) {
    static_assert(std::is_arithmetic_v<T>, "drawing commands take numbers");
    if constexpr (std::is_floating_point_v<T>) {
        constexpr long double limit = 9223372036854775808.0L;  // 2^63
        const long double v = value;
        // Everything that truncates into the 64-bit range, -2^63 included;
        // NaN fails both comparisons.
        if (!(v > -limit - 1 && v < limit)) return nowhere;
        return static_cast<std::uint32_t>(static_cast<std::int64_t>(v));
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

struct use_color {
    std::int32_t r, g, b;
    template <class R, class G, class B>
    use_color(R red, G green, B blue)
        : r(detail::to_int(red)), g(detail::to_int(green)), b(detail::to_int(blue)) {}
};

struct move_abs {
    std::uint32_t x, y;
    template <class X, class Y>
    move_abs(X x_, Y y_) : x(detail::to_word(x_)), y(detail::to_word(y_)) {}
};

struct line_abs {
    std::uint32_t x, y;
    template <class X, class Y>
    line_abs(X x_, Y y_) : x(detail::to_word(x_)), y(detail::to_word(y_)) {}
};

struct box_abs {
    std::uint32_t x, y;
    template <class X, class Y>
    box_abs(X x_, Y y_) : x(detail::to_word(x_)), y(detail::to_word(y_)) {}
};

struct box_rel {
    std::int32_t w, h;
    template <class W, class H>
    box_rel(W w_, H h_) : w(detail::to_int(w_)), h(detail::to_int(h_)) {}
};

inline canvas& operator<<(canvas& c, const use_color& cmd) {
    c.set_color(cmd.r, cmd.g, cmd.b);
    return c;
}

inline canvas& operator<<(canvas& c, const move_abs& cmd) {
    c.move_to(cmd.x, cmd.y);
    return c;
}

inline canvas& operator<<(canvas& c, const line_abs& cmd) {
    // The 32-bit difference would aim a line toward nowhere at an edge.
    if (cmd.x == detail::nowhere || cmd.y == detail::nowhere) return c;
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

// Manipulators: gout << move_abs(x, y) << dot << refresh;
inline void dot(canvas& c) { c.draw_dot(); }
inline void refresh(canvas& c) { c.refresh(); }

inline canvas& operator<<(canvas& c, void (*manipulator)(canvas&)) {
    manipulator(c);
    return c;
}

}  // namespace kavex
