// The fast drawing paths against a direct, step-by-step rendition of each
// drawing rule, pixel for pixel and pen for pen, on many random cases.
//
// The reference below is written the slow way on purpose: a line is walked
// one checked move at a time, a box filled pixel by pixel, text blended
// column by column with the per-channel formula. It shares no code with the
// library. Every canvas sits in memory with guard words around it and padding
// after some rows, which must never be written.
#include "graphics.hpp"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <iterator>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "../drawing_operations.hpp"
#include "font.hpp"

#include <gtest/gtest.h>

namespace {

using kavex::canvas;
using kavex::detail::charfaces;

// ---------------------------------------------------------------------------
// The reference: a picture, a pen and a colour, drawn the way the rules read.

struct reference {
    int w, h;
    std::vector<std::uint32_t> pixels;  // row after row, w words each
    std::int32_t pen_x, pen_y, color;

    bool inside(std::int64_t x, std::int64_t y) const { return x >= 0 && y >= 0 && x < w && y < h; }
    bool pen_inside() const { return inside(pen_x, pen_y); }
    std::uint32_t& at(std::int64_t x, std::int64_t y) { return pixels[std::size_t(y * w + x)]; }

    bool move_point(int dx, int dy) {
        const std::int64_t x = std::int64_t{pen_x} + dx, y = std::int64_t{pen_y} + dy;
        if (!inside(x, y)) return false;
        pen_x = std::int32_t(x);
        pen_y = std::int32_t(y);
        return true;
    }

    void dot() {
        if (pen_inside()) at(pen_x, pen_y) = std::uint32_t(color);
    }

    // The walk with a checked move at every step, stopping at the first refusal.
    void line(int dx, int dy) {
        if (!pen_inside()) return;
        const int sx = dx > 0 ? 1 : -1, sy = dy > 0 ? 1 : -1;
        const long long adx = std::llabs(dx), ady = std::llabs(dy);
        const bool x_major = adx >= ady;
        const long long longer = x_major ? adx : ady, shorter = x_major ? ady : adx;
        dot();
        long long error = 0;
        for (long long k = 0; k < longer; ++k) {
            error += shorter;
            bool moved;
            if (error < longer) {
                moved = x_major ? move_point(sx, 0) : move_point(0, sy);
            } else {
                moved = move_point(sx, sy);
                error -= longer;
            }
            if (!moved) return;
            dot();
        }
    }

    void box(int dx, int dy) {
        if (!pen_inside()) return;
        const std::int32_t x0 = pen_x, y0 = pen_y;
        if (!move_point(dx, dy)) return;
        for (std::int32_t y = std::min(y0, pen_y); y <= std::max(y0, pen_y); ++y)
            for (std::int32_t x = std::min(x0, pen_x); x <= std::max(x0, pen_x); ++x) at(x, y) = std::uint32_t(color);
    }

    void blend(std::int32_t x, std::int32_t y, std::uint32_t coverage) {
        std::uint32_t p = at(x, y);
        for (int shift : {0, 8, 16}) {
            const std::uint32_t d = (p >> shift) & 0xFF, k = (std::uint32_t(color) >> shift) & 0xFF;
            const std::uint32_t n = (d * (15 - coverage) + k * coverage) / 15;
            p = (p & ~(0xFFu << shift)) | (n << shift);
        }
        at(x, y) = p;
    }

    // Column by column, every row of a column blended before the next column.
    void text(const std::string& t) {
        if (!pen_inside()) return;
        if (pen_y < 13 || pen_y + 4 >= h) return;
        const std::int32_t x0 = pen_x;
        for (const char byte : t) {
            if (byte == '\n') {
                if (!inside(x0, std::int64_t{pen_y} + 17)) return;
                pen_x = x0;
                pen_y += 17;
                continue;
            }
            if (pen_y + 4 >= h) return;
            const auto g = static_cast<unsigned char>(byte);
            for (int j = 0; j < 8; ++j) {
                for (int r = 0; r < 17; ++r)
                    blend(pen_x, pen_y - 13 + r, (charfaces[std::size_t{g} * 17 + std::size_t(r)] >> (4 * j)) & 0xF);
                if (pen_x >= w - 1) return;
                ++pen_x;
            }
        }
    }

    // Whether the offset (dx, dy) lies in the disc of radius r. An offset
    // beyond r on either axis lies outside; within it, the squares fit in 64
    // unsigned bits, whatever the pen.
    static bool in_disc(std::int64_t dx, std::int64_t dy, std::int64_t r) {
        if (r < 0 || dx > r || -dx > r || dy > r || -dy > r) return false;
        const auto ux = std::uint64_t(dx < 0 ? -dx : dx), uy = std::uint64_t(dy < 0 ? -dy : dy);
        return ux * ux + uy * uy <= std::uint64_t(r * r + r);
    }

    // Every pixel of the picture tested against the disc, and for an outline
    // its four neighbours too.
    void ball(int r, bool outline) {
        for (std::int64_t y = 0; y < h; ++y)
            for (std::int64_t x = 0; x < w; ++x) {
                const std::int64_t dx = x - pen_x, dy = y - pen_y;
                if (!in_disc(dx, dy, r)) continue;
                if (outline && in_disc(dx - 1, dy, r) && in_disc(dx + 1, dy, r) && in_disc(dx, dy - 1, r) &&
                    in_disc(dx, dy + 1, r))
                    continue;
                at(x, y) = std::uint32_t(color);
            }
    }

    // The stream's commands: targets minus the pen, wrapping at 32 bits.
    static std::int32_t offset(std::uint32_t target, std::int32_t pen) {
        return std::int32_t(target - std::uint32_t(pen));
    }
    void move_abs(std::uint32_t x, std::uint32_t y) { move_point(offset(x, pen_x), offset(y, pen_y)); }
    void line_abs(std::uint32_t x, std::uint32_t y) { line(offset(x, pen_x), offset(y, pen_y)); }
    void box_abs(std::uint32_t x, std::uint32_t y) { box(offset(x, pen_x), offset(y, pen_y)); }

    // A copy of the picture's own rectangle, taken aside first: each source
    // pixel inside goes to its place if that lies inside too. -1 stands for
    // 0 as a corner and for the whole side as a size.
    void copy(int sx, int sy, int cw, int ch, int dx, int dy) {
        const std::int64_t x0 = sx == -1 ? 0 : sx, y0 = sy == -1 ? 0 : sy;
        const std::int64_t width = cw == -1 ? w : cw, height = ch == -1 ? h : ch;
        const std::vector<std::uint32_t> aside = pixels;
        const std::int64_t first_i = std::max<std::int64_t>({0, -x0, -std::int64_t{dx}});
        const std::int64_t first_j = std::max<std::int64_t>({0, -y0, -std::int64_t{dy}});
        const std::int64_t end_i = std::min<std::int64_t>({width, w - x0, w - std::int64_t{dx}});
        const std::int64_t end_j = std::min<std::int64_t>({height, h - y0, h - std::int64_t{dy}});
        for (std::int64_t j = first_j; j < end_j; ++j)
            for (std::int64_t i = first_i; i < end_i; ++i)
                at(dx + i, dy + j) = aside[std::size_t((y0 + j) * w + x0 + i)];
    }
};

// ---------------------------------------------------------------------------
// A canvas on memory of the test's own, with guard words around it and, on
// some canvases, padding at the end of each row.

constexpr std::uint32_t guard_word = 0xDEADBEEF;
constexpr int guard_words = 64;

class guarded_canvas {
public:
    guarded_canvas(int w, int h, int padding) : w_(w), h_(h), stride_(w + padding) {
        memory_.assign(std::size_t(guard_words * 2 + stride_ * h), guard_word);
        c.surface = SDL_CreateRGBSurfaceFrom(first(), w, h, 32, stride_ * 4, 0xFF0000, 0xFF00, 0xFF, 0);
    }
    ~guarded_canvas() { SDL_FreeSurface(c.surface); }
    guarded_canvas(const guarded_canvas&) = delete;
    guarded_canvas& operator=(const guarded_canvas&) = delete;

    std::uint32_t* first() { return memory_.data() + guard_words; }
    std::uint32_t pixel(int x, int y) const { return memory_[std::size_t(guard_words + y * stride_ + x)]; }
    void set(int x, int y, std::uint32_t value) { first()[y * stride_ + x] = value; }

    // Empty if the canvas shows the reference's picture and pen, and nothing
    // outside the picture was written; otherwise what differs.
    std::string differences(const reference& r) const {
        std::ostringstream out;
        if (c.pen_x != r.pen_x || c.pen_y != r.pen_y)
            out << "pen (" << c.pen_x << ", " << c.pen_y << ") should be (" << r.pen_x << ", " << r.pen_y << "); ";
        int shown = 0;
        for (int y = 0; y < h_; ++y)
            for (int x = 0; x < w_; ++x)
                if (pixel(x, y) != r.pixels[std::size_t(y * w_ + x)] && shown++ < 4)
                    out << "pixel (" << x << ", " << y << ") is " << std::hex << pixel(x, y) << " not "
                        << r.pixels[std::size_t(y * w_ + x)] << std::dec << "; ";
        for (std::size_t i = 0; i < memory_.size(); ++i) {
            const std::ptrdiff_t word = std::ptrdiff_t(i) - guard_words;
            const bool picture = word >= 0 && word < stride_ * h_ && word % stride_ < w_;
            if (!picture && memory_[i] != guard_word) {
                out << "written outside the picture at word " << word << "; ";
                break;
            }
        }
        if (shown > 4) out << shown << " pixels differ";
        return out.str();
    }

    canvas c;

private:
    int w_, h_, stride_;
    std::vector<std::uint32_t> memory_;
};

// ---------------------------------------------------------------------------
// Random cases, the same in every run.

class cases {
public:
    explicit cases(std::uint32_t seed) : rng_(seed) {}

    std::uint32_t word() { return rng_(); }
    int between(int low, int high) { return low + int(rng_() % std::uint32_t(high - low + 1)); }
    bool one_in(int n) { return rng_() % std::uint32_t(n) == 0; }

    // A coordinate along a side of `size`: near either edge, anywhere, just
    // outside, or far away.
    int coordinate(int size) {
        switch (rng_() % 6) {
        case 0: return between(0, std::min(size - 1, 9));
        case 1: return between(std::max(0, size - 10), size - 1);
        case 2: return between(-3, size + 2);
        case 3: return one_in(8) ? INT32_MIN + between(0, 1) : between(-2 * size, 3 * size);
        default: return between(0, size - 1);
        }
    }

    // An offset for a line or a box: short, surface-sized, or any 32-bit value.
    int offset(int size) {
        switch (rng_() % 8) {
        case 0: return int(rng_());
        case 1: return one_in(2) ? INT32_MIN : INT32_MAX;
        case 2:
        case 3: return between(-3 * size, 3 * size);
        default: return between(-12, 12);
        }
    }

    // A pen coordinate put by hand: mostly as for `coordinate`, sometimes any
    // 32-bit value or one at the ends of the range, where a target's
    // 32-bit difference wraps around.
    std::int32_t pen(int size) {
        switch (rng_() % 6) {
        case 0: return std::int32_t(rng_());
        case 1: return INT32_MIN + between(0, 2 * size);
        case 2: return INT32_MAX - between(0, 2 * size);
        default: return coordinate(size);
        }
    }

    // A radius: mostly one that reaches past some edges, now and then any
    // 32-bit value.
    int radius(int size) {
        switch (rng_() % 8) {
        case 0: return int(rng_());
        case 1: return one_in(2) ? INT32_MIN : INT32_MAX;
        case 2: return between(-3, 0);
        default: return between(0, size);
        }
    }

    // Random bytes, many of them newlines.
    std::string text() {
        std::string t(std::size_t(between(0, 12)), ' ');
        for (char& byte : t) byte = one_in(4) ? '\n' : char(between(0, 255));
        return t;
    }

private:
    std::mt19937 rng_;
};

struct canvas_size {
    int w, h, padding;
};

// Sizes odd and even, thin and wide, some with padded rows.
const canvas_size sizes[] = {{1, 1, 0},  {1, 23, 3},  {23, 1, 0},  {2, 40, 0},  {7, 18, 1},  {8, 17, 0},
                             {9, 35, 5}, {17, 21, 0}, {31, 19, 2}, {40, 41, 0}, {61, 47, 3}, {100, 20, 0},
                             {3, 100, 0}, {129, 30, 7}};

// Puts the same random picture, pen and colour in both.
void start_alike(cases& random, guarded_canvas& g, reference& r, const canvas_size& z) {
    r.w = z.w;
    r.h = z.h;
    r.pixels.resize(std::size_t(z.w * z.h));
    for (int y = 0; y < z.h; ++y)
        for (int x = 0; x < z.w; ++x) {
            const std::uint32_t value = random.one_in(3) ? 0 : random.word();
            g.set(x, y, value);
            r.pixels[std::size_t(y * z.w + x)] = value;
        }
    g.c.pen_x = r.pen_x = random.between(0, z.w - 1);
    g.c.pen_y = r.pen_y = random.between(0, z.h - 1);
    g.c.color = r.color = std::int32_t(random.word() & 0xFFFFFF);
}

// Each drawing operation of the list (../drawing_operations.hpp), made with
// random numbers on both the canvas and the reference, and described for a
// failure message.
namespace check {

using operation = void (*)(cases&, guarded_canvas&, reference&, const canvas_size&, std::ostream&);

void draw_dot(cases&, guarded_canvas& g, reference& r, const canvas_size&, std::ostream& what) {
    what << "draw_dot()";
    g.c.draw_dot();
    r.dot();
}

void draw_line(cases& random, guarded_canvas& g, reference& r, const canvas_size& z, std::ostream& what) {
    const int dx = random.offset(z.w), dy = random.offset(z.h);
    what << "draw_line(" << dx << ", " << dy << ")";
    g.c.draw_line(dx, dy);
    r.line(dx, dy);
}

void draw_box(cases& random, guarded_canvas& g, reference& r, const canvas_size& z, std::ostream& what) {
    const int dx = random.one_in(2) ? random.between(-9, 9) : random.offset(z.w);
    const int dy = random.one_in(2) ? random.between(-9, 9) : random.offset(z.h);
    what << "draw_box(" << dx << ", " << dy << ")";
    g.c.draw_box(dx, dy);
    r.box(dx, dy);
}

void line_abs(cases& random, guarded_canvas& g, reference& r, const canvas_size& z, std::ostream& what) {
    const auto x = std::uint32_t(random.coordinate(z.w)), y = std::uint32_t(random.coordinate(z.h));
    what << "line_abs(" << std::int32_t(x) << ", " << std::int32_t(y) << ")";
    g.c << kavex::line_abs(x, y);
    r.line_abs(x, y);
}

void box_abs(cases& random, guarded_canvas& g, reference& r, const canvas_size& z, std::ostream& what) {
    const auto x = std::uint32_t(random.coordinate(z.w)), y = std::uint32_t(random.coordinate(z.h));
    what << "box_abs(" << std::int32_t(x) << ", " << std::int32_t(y) << ")";
    g.c << kavex::box_abs(x, y);
    r.box_abs(x, y);
}

void box_rel(cases& random, guarded_canvas& g, reference& r, const canvas_size& z, std::ostream& what) {
    const int dx = random.between(-9, 9), dy = random.one_in(2) ? random.between(-9, 9) : random.offset(z.h);
    what << "box_rel(" << dx << ", " << dy << ")";
    g.c << kavex::box_rel(dx, dy);
    r.box(dx, dy);
}

void dot(cases&, guarded_canvas& g, reference& r, const canvas_size&, std::ostream& what) {
    what << "<< dot";
    g.c << kavex::dot;
    r.dot();
}

void draw_disc(cases& random, guarded_canvas& g, reference& r, const canvas_size& z, std::ostream& what) {
    const int radius = random.radius(std::max(z.w, z.h));
    what << "draw_disc(" << radius << ")";
    g.c.draw_disc(radius);
    r.ball(radius, false);
}

void draw_circle(cases& random, guarded_canvas& g, reference& r, const canvas_size& z, std::ostream& what) {
    const int radius = random.radius(std::max(z.w, z.h));
    what << "draw_circle(" << radius << ")";
    g.c.draw_circle(radius);
    r.ball(radius, true);
}

// The commands' radii as doubles too, truncated toward zero.
void disc(cases& random, guarded_canvas& g, reference& r, const canvas_size& z, std::ostream& what) {
    const double radius = random.radius(std::max(z.w, z.h)) + random.between(0, 9) / 10.0;
    what << "disc(" << radius << ")";
    g.c << kavex::disc(radius);
    r.ball(int(radius), false);
}

void circle(cases& random, guarded_canvas& g, reference& r, const canvas_size& z, std::ostream& what) {
    const int radius = random.radius(std::max(z.w, z.h));
    what << "circle(" << radius << ")";
    g.c << kavex::circle(radius);
    r.ball(radius, true);
}

// Text from a pen near an edge, where lines and glyphs get cut.
void draw_text(cases& random, guarded_canvas& g, reference& r, const canvas_size& z, std::ostream& what) {
    const int x = random.coordinate(z.w), y = random.one_in(2) ? random.between(11, 15) : random.coordinate(z.h);
    const std::string t = random.text();
    what << "move_abs(" << x << ", " << y << ") then draw_text of " << t.size() << " bytes:";
    for (const char byte : t) what << ' ' << int(static_cast<unsigned char>(byte));
    g.c << kavex::move_abs(x, y);
    r.move_abs(std::uint32_t(x), std::uint32_t(y));
    g.c.draw_text(t);
    r.text(t);
}

// A rectangle of the canvas onto itself, now and then with a default.
void blitfrom(cases& random, guarded_canvas& g, reference& r, const canvas_size& z, std::ostream& what) {
    auto corner = [&](int size) { return random.one_in(5) ? -1 : random.coordinate(size); };
    auto side = [&](int size) { return random.one_in(5) ? -1 : random.between(-2, size + 2); };
    const int sx = corner(z.w), sy = corner(z.h), w = side(z.w), h = side(z.h);
    const int dx = random.coordinate(z.w), dy = random.coordinate(z.h);
    what << "blitfrom(itself, " << sx << ", " << sy << ", " << w << ", " << h << ", " << dx << ", " << dy << ")";
    g.c.blitfrom(g.c, sx, sy, w, h, dx, dy);
    r.copy(sx, sy, w, h, dx, dy);
}

#define KAVEX_DIFFERENTIAL_OPERATION(number, name) name,
constexpr operation drawing[] = {KAVEX_DRAWING_OPERATIONS(KAVEX_DIFFERENTIAL_OPERATION)};
#undef KAVEX_DIFFERENTIAL_OPERATION

}  // namespace check

// One random operation on both: a drawing operation, a move, or a colour.
std::string apply_one(cases& random, guarded_canvas& g, reference& r, const canvas_size& z) {
    canvas& c = g.c;
    std::ostringstream what;
    what << "from pen (" << r.pen_x << ", " << r.pen_y << ") on " << z.w << " x " << z.h << ": ";
    const int drawing_operations = int(std::size(check::drawing));
    const int pick = random.between(0, drawing_operations + 2);
    if (pick < drawing_operations) {
        check::drawing[pick](random, g, r, z, what);
    } else if (pick == drawing_operations) {
        const int dx = random.offset(z.w), dy = random.offset(z.h);
        what << "move_point(" << dx << ", " << dy << ")";
        const bool moved = c.move_point(dx, dy);
        if (moved != r.move_point(dx, dy)) what << " reported " << moved << " wrongly";
    } else if (pick == drawing_operations + 1) {
        const auto x = std::uint32_t(random.coordinate(z.w)), y = std::uint32_t(random.coordinate(z.h));
        what << "move_abs(" << std::int32_t(x) << ", " << std::int32_t(y) << ")";
        c << kavex::move_abs(x, y);
        r.move_abs(x, y);
    } else {
        // A new colour, now and then one with bits 24-31 set, which dots,
        // lines and boxes store as they are and text leaves out.
        const std::int32_t color = std::int32_t(random.one_in(4) ? random.word() : random.word() & 0xFFFFFF);
        what << "color = " << std::hex << color;
        c.color = r.color = color;
    }
    // Now and then the pen is put anywhere by hand, outside included.
    if (random.one_in(25)) {
        c.pen_x = r.pen_x = random.pen(z.w);
        c.pen_y = r.pen_y = random.pen(z.h);
    }
    return what.str();
}

TEST(Differential, EveryOperationMatchesTheStepByStepRules) {
    cases random(20240607);
    int compared = 0;
    for (const canvas_size& z : sizes) {
        for (int round = 0; round < 3; ++round) {
            guarded_canvas g(z.w, z.h, z.padding);
            ASSERT_NE(g.c.surface, nullptr);
            reference r;
            start_alike(random, g, r, z);
            for (int op = 0; op < 600; ++op, ++compared) {
                const std::string what = apply_one(random, g, r, z);
                const std::string differences = g.differences(r);
                ASSERT_TRUE(differences.empty()) << what << "\n  " << differences;
            }
        }
    }
    EXPECT_EQ(compared, int(std::size(sizes)) * 3 * 600);
}

// The same walk on the large surfaces the benchmarks use: long lines whose
// far ends lie inside, beside, and far outside.
TEST(Differential, LongLinesOnLargeSurfacesMatchTheWalk) {
    cases random(7);
    for (const canvas_size& z : {canvas_size{400, 400, 0}, canvas_size{1920, 1080, 0}}) {
        guarded_canvas g(z.w, z.h, z.padding);
        ASSERT_NE(g.c.surface, nullptr);
        reference r;
        start_alike(random, g, r, z);
        for (int i = 0; i < 150; ++i) {
            const auto x = std::uint32_t(random.between(0, z.w - 1)), y = std::uint32_t(random.between(0, z.h - 1));
            const int far = random.between(0, 2);
            const std::uint32_t x2 = far == 0 ? std::uint32_t(random.between(0, z.w - 1))
                                              : std::uint32_t(random.between(-8 * z.w, 9 * z.w));
            const std::uint32_t y2 = far == 0 ? std::uint32_t(random.between(0, z.h - 1))
                                              : std::uint32_t(random.between(-8 * z.h, 9 * z.h));
            g.c << kavex::move_abs(x, y) << kavex::line_abs(x2, y2);
            r.move_abs(x, y);
            r.line_abs(x2, y2);
            ASSERT_EQ(g.c.pen_x, r.pen_x) << i;
            ASSERT_EQ(g.c.pen_y, r.pen_y) << i;
        }
        const std::string differences = g.differences(r);
        EXPECT_TRUE(differences.empty()) << differences;
    }
}

}  // namespace
