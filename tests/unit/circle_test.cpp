// Discs and circles: their pixels as the rule reads, cut at the edges, at
// any radius an int holds.
#include "support.hpp"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

using namespace kavex;
using namespace test;  // blank, changed, pen, point_set

namespace {

// The disc's rule, read literally: every pixel of a w x h surface within
// r^2 + r of (cx, cy), or, for the outline, those of them with a 4-neighbour
// that is not.
point_set by_the_rule(int w, int h, int cx, int cy, long long r, bool outline) {
    const auto in = [&](long long dx, long long dy) {
        if (r < 0 || dx > r || -dx > r || dy > r || -dy > r) return false;  // so the squares below fit
        return static_cast<unsigned long long>(dx * dx) + static_cast<unsigned long long>(dy * dy) <=
               static_cast<unsigned long long>(r * r + r);
    };
    point_set out;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const long long dx = static_cast<long long>(x) - cx, dy = static_cast<long long>(y) - cy;
            if (!in(dx, dy)) continue;
            if (outline && in(dx - 1, dy) && in(dx + 1, dy) && in(dx, dy - 1) && in(dx, dy + 1)) continue;
            out.insert({x, y});
        }
    return out;
}

// The changed pixels of the square of side 2r + 1 around the pen, as rows of
// '#' and '.'.
std::vector<std::string> picture(const canvas& c, int r) {
    std::vector<std::string> rows;
    for (int y = c.pen_y - r; y <= c.pen_y + r; ++y) {
        rows.emplace_back();
        for (int x = c.pen_x - r; x <= c.pen_x + r; ++x) rows.back() += test::pixel_at(c.surface, x, y) ? '#' : '.';
    }
    return rows;
}

// The pixels of `disc` with a left, right, upper or lower neighbour outside it.
point_set edge_of(const point_set& disc) {
    point_set out;
    for (const auto& [x, y] : disc)
        if (!disc.count({x - 1, y}) || !disc.count({x + 1, y}) || !disc.count({x, y - 1}) || !disc.count({x, y + 1}))
            out.insert({x, y});
    return out;
}

}  // namespace

TEST(Circle, SmallRadiiHaveTheirShapes) {
    const std::vector<std::vector<std::string>> discs = {
        {"#"},
        {"###", "###", "###"},
        {".###.", "#####", "#####", "#####", ".###."},
        {"..###..", ".#####.", "#######", "#######", "#######", ".#####.", "..###.."},
    };
    const std::vector<std::vector<std::string>> circles = {
        {"#"},
        {"###", "#.#", "###"},
        {".###.", "#...#", "#...#", "#...#", ".###."},
        {"..###..", ".#...#.", "#.....#", "#.....#", "#.....#", ".#...#.", "..###.."},
    };
    for (int r = 0; r <= 3; ++r) {
        canvas d = blank(20, 20, 9, 9), c = blank(20, 20, 9, 9);
        d.draw_disc(r);
        c.draw_circle(r);
        EXPECT_EQ(picture(d, r), discs[std::size_t(r)]) << "disc " << r;
        EXPECT_EQ(picture(c, r), circles[std::size_t(r)]) << "circle " << r;
    }
}

TEST(Circle, PixelsFollowTheRuleAndTheOutlineIsTheDiscsEdge) {
    for (const int r : {0, 1, 2, 3, 7, 12}) {
        canvas d = blank(40, 40, 19, 20), c = blank(40, 40, 19, 20);
        d.set_color(10, 20, 30);
        c.set_color(10, 20, 30);
        d.draw_disc(r);
        c.draw_circle(r);
        EXPECT_EQ(changed(d.surface), by_the_rule(40, 40, 19, 20, r, false)) << r;
        EXPECT_EQ(changed(c.surface), by_the_rule(40, 40, 19, 20, r, true)) << r;
        EXPECT_EQ(changed(c.surface), edge_of(changed(d.surface))) << r;
        EXPECT_EQ(test::pixel_at(d.surface, 19, 20), 0x0A141Eu);
        EXPECT_EQ(pen(d), test::point(19, 20));
        EXPECT_EQ(pen(c), test::point(19, 20));
    }
}

// A ball may hang over any edge: what lies on the surface is drawn.
TEST(Circle, CentresAtEdgesAndCornersAreCut) {
    const int w = 13, h = 9;
    const test::point centres[] = {{0, 0}, {w - 1, 0}, {0, h - 1}, {w - 1, h - 1}, {6, 0}, {0, 4}, {w - 1, 4}};
    for (const auto& [x, y] : centres)
        for (const int r : {1, 5, 11, 30}) {
            canvas d = blank(w, h, x, y), c = blank(w, h, x, y);
            d.draw_disc(r);
            c.draw_circle(r);
            EXPECT_EQ(changed(d.surface), by_the_rule(w, h, x, y, r, false)) << x << "," << y << " r " << r;
            EXPECT_EQ(changed(c.surface), by_the_rule(w, h, x, y, r, true)) << x << "," << y << " r " << r;
        }
}

TEST(Circle, RadiiAtTheEndsOfInt) {
    for (const int r : {-1, -2, INT_MIN}) {
        canvas c = blank(10, 10, 5, 5);
        c.draw_disc(r);
        c.draw_circle(r);
        c << disc(r) << circle(r);
        EXPECT_TRUE(changed(c.surface).empty()) << r;
    }
    // The largest radii cover a small surface wholly; their outlines lie far
    // beyond it, save what the rule says.
    for (const int r : {INT_MAX, INT_MAX - 1, 1 << 30}) {
        for (const auto& [x, y] : {test::point{3, 2}, test::point{0, 0}, test::point{7, 5}}) {
            canvas d = blank(8, 6, x, y), c = blank(8, 6, x, y);
            d.draw_disc(r);
            c.draw_circle(r);
            EXPECT_EQ(changed(d.surface).size(), 48u) << r;
            EXPECT_EQ(changed(c.surface), by_the_rule(8, 6, x, y, r, true)) << r;
            EXPECT_TRUE(changed(c.surface).empty()) << r;
            EXPECT_EQ(pen(d), test::point(x, y));
            EXPECT_EQ(pen(c), test::point(x, y));
        }
    }
}

TEST(Circle, CommandsTruncateRadiiAndDrawAroundThePen) {
    canvas a = blank(20, 20, 9, 9), b = blank(20, 20, 9, 9);
    a << move_abs(4, 5) << disc(2.9) << move_abs(14, 14) << circle(3.5f);
    b.pen_x = 4;
    b.pen_y = 5;
    b.draw_disc(2);
    b.pen_x = b.pen_y = 14;
    b.draw_circle(3);
    EXPECT_EQ(changed(a.surface), changed(b.surface));
    EXPECT_EQ(pen(a), test::point(14, 14));

    canvas c = blank(20, 20, 9, 9);
    c << disc(-0.5);  // truncated to 0: the pixel under the pen
    EXPECT_EQ(changed(c.surface), (point_set{{9, 9}}));
    const double nowhere[] = {std::nan(""), std::numeric_limits<double>::infinity(), 1e300, -1e300};
    for (const double r : nowhere) c << disc(r) << circle(r);
    EXPECT_EQ(changed(c.surface).size(), 1u);
}

TEST(Circle, NothingIsDrawnWithoutASurface) {
    canvas closed;
    closed.pen_x = closed.pen_y = 0;
    closed.draw_disc(5);
    closed.draw_circle(5);
    closed << disc(5) << circle(5);
    EXPECT_EQ(closed.surface, nullptr);
}

// A pen written by hand beside the surface: the part of the disc that
// reaches onto it is drawn, and nothing outside.
TEST(Circle, CentresBesideTheSurfaceDrawWhatReachesOntoIt) {
    const std::pair<int, int> centres[] = {{-1, 5}, {12, 5}, {5, -3}, {4, 11}, {-2, -2}, {13, 12}, {-30, 5}};
    for (const auto& [x, y] : centres)
        for (const int r : {2, 4, 40}) {
            canvas d = blank(10, 10, x, y), c = blank(10, 10, x, y);
            d.draw_disc(r);
            c.draw_circle(r);
            EXPECT_EQ(changed(d.surface), by_the_rule(10, 10, x, y, r, false)) << x << "," << y << " r " << r;
            EXPECT_EQ(changed(c.surface), by_the_rule(10, 10, x, y, r, true)) << x << "," << y << " r " << r;
        }
    // The largest radius from the farthest pen that still reaches: column 0 alone.
    canvas far = blank(10, 10, INT_MIN + 1, 5);
    far.draw_disc(INT_MAX);
    EXPECT_EQ(changed(far.surface), by_the_rule(10, 10, INT_MIN + 1, 5, INT_MAX, false));
    EXPECT_EQ(changed(far.surface).size(), 10u);
    canvas corner = blank(10, 10, INT_MIN, INT_MAX);
    corner.draw_circle(INT_MAX);
    EXPECT_TRUE(changed(corner.surface).empty());
}
