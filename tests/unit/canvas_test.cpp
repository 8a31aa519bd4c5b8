// The canvas: pen, colour, and the exact pixels of dots, lines and boxes.
#include "support.hpp"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <vector>

using kavex::canvas;
using test::blank;
using test::changed;
using test::pen;
using test::point_set;

namespace {

// The walk as a user reads it: one move_point per step, stopping at the
// first refused step.
point_set reference_line(canvas& c, int dx, int dy) {
    point_set drawn{pen(c)};
    const int sx = dx > 0 ? 1 : -1, sy = dy > 0 ? 1 : -1;
    const long adx = std::labs(dx), ady = std::labs(dy);
    const bool x_major = adx >= ady;
    const long major = x_major ? adx : ady, minor = x_major ? ady : adx;
    long error = 0;
    for (long k = 0; k < major; ++k) {
        error += minor;
        bool moved;
        if (error < major) {
            moved = x_major ? c.move_point(sx, 0) : c.move_point(0, sy);
        } else {
            moved = c.move_point(sx, sy);
            error -= major;
        }
        if (!moved) break;
        drawn.insert(pen(c));
    }
    return drawn;
}

}  // namespace

TEST(Canvas, DefaultConstructedIsClosedWhiteAndOpaque) {
    canvas c;
    EXPECT_EQ(c.surface, nullptr);
    EXPECT_EQ(c.color, 0xFFFFFF);
    EXPECT_FALSE(c.transparent);
}

TEST(Canvas, OpenCreates32BitSurfaceAndCentresPen) {
    canvas c;
    ASSERT_TRUE(c.open(200, 101));
    EXPECT_EQ(pen(c), test::point(100, 50));
    EXPECT_EQ(c.surface->w, 200);
    EXPECT_EQ(c.surface->h, 101);
    EXPECT_EQ(c.surface->format->BitsPerPixel, 32);
    EXPECT_EQ(c.surface->format->Rmask, 0xFF0000u);
    EXPECT_EQ(c.surface->format->Gmask, 0x00FF00u);
    EXPECT_EQ(c.surface->format->Bmask, 0x0000FFu);

    ASSERT_TRUE(c.open(1, 1));
    EXPECT_EQ(pen(c), test::point(0, 0));

    canvas sized(7, 9);
    ASSERT_NE(sized.surface, nullptr);
    EXPECT_EQ(pen(sized), test::point(3, 4));
    EXPECT_EQ(sized.color, 0xFFFFFF);
}

TEST(Canvas, OpenThatFailsStillCentresPen) {
    canvas c;
    EXPECT_FALSE(c.open(100000, 10));
    EXPECT_EQ(c.surface, nullptr);
    EXPECT_EQ(pen(c), test::point(50000, 5));
}

TEST(Canvas, SetColorKeepsLowBytes) {
    canvas c;
    c.set_color(300, -1, 0);
    EXPECT_EQ(c.color, 0x2CFF00);
    c.set_color(0x12, 0x34, 0x56);
    EXPECT_EQ(c.color, 0x123456);
}

TEST(Canvas, MovesThatLeaveTheSurfaceAreRefused) {
    canvas c(100, 100);
    c.pen_x = 0;
    c.pen_y = 0;
    EXPECT_FALSE(c.move_point(-1, 0));
    EXPECT_FALSE(c.move_point(0, -1));
    EXPECT_EQ(pen(c), test::point(0, 0));
    c.pen_x = 99;
    c.pen_y = 5;
    EXPECT_FALSE(c.move_point(1, 0));
    EXPECT_TRUE(c.move_point(0, 0));
    EXPECT_TRUE(c.move_point(-99, 94));
    EXPECT_EQ(pen(c), test::point(0, 99));
    EXPECT_FALSE(c.move_point(0, 1));
    EXPECT_FALSE(c.move_point(INT32_MAX, INT32_MAX));
    EXPECT_FALSE(c.move_point(INT32_MIN, INT32_MIN));
    EXPECT_EQ(pen(c), test::point(0, 99));
}

TEST(Canvas, DotSetsThePixelUnderThePen) {
    canvas c = blank();
    c.color = 0x123456;
    c.draw_dot();
    EXPECT_EQ(changed(c.surface), (point_set{{10, 10}}));
    EXPECT_EQ(test::pixel_at(c.surface, 10, 10), 0x123456u);
}

TEST(Canvas, LinesDrawExactlyTheWalkedPixels) {
    struct {
        int dx, dy;
        point_set pixels;
        test::point end;
    } cases[] = {
        {0, 0, {{10, 10}}, {10, 10}},
        {5, 2, {{10, 10}, {11, 10}, {12, 10}, {13, 11}, {14, 11}, {15, 12}}, {15, 12}},
        {-3, 7, {{10, 10}, {10, 11}, {10, 12}, {9, 13}, {9, 14}, {8, 15}, {8, 16}, {7, 17}}, {7, 17}},
        {4, 4, {{10, 10}, {11, 11}, {12, 12}, {13, 13}, {14, 14}}, {14, 14}},
        {-4, 0, {{10, 10}, {9, 10}, {8, 10}, {7, 10}, {6, 10}}, {6, 10}},
        {0, -3, {{10, 10}, {10, 9}, {10, 8}, {10, 7}}, {10, 7}},
    };
    for (const auto& k : cases) {
        canvas c = blank();
        c.draw_line(k.dx, k.dy);
        EXPECT_EQ(changed(c.surface), k.pixels) << "draw_line(" << k.dx << ", " << k.dy << ")";
        EXPECT_EQ(pen(c), k.end) << "draw_line(" << k.dx << ", " << k.dy << ")";
    }
}

TEST(Canvas, LineThatLeavesTheSurfaceStopsAtItsLastPixelInside) {
    canvas c(20, 20);
    test::fill(c.surface, 0);
    c.pen_x = 15;
    c.pen_y = 5;
    c.draw_line(10, 0);
    EXPECT_EQ(changed(c.surface), (point_set{{15, 5}, {16, 5}, {17, 5}, {18, 5}, {19, 5}}));
    EXPECT_EQ(pen(c), test::point(19, 5));

    c.draw_line(INT32_MIN, INT32_MAX);  // huge offsets stop at the edge too
    EXPECT_EQ(pen(c).second, 19);
}

// Every offset in a window around each corner of a small canvas, against the
// step-by-step walk: catches any mistake in working out where a clipped line ends.
TEST(Canvas, LinesNearEveryEdgeMatchTheStepByStepWalk) {
    const std::vector<test::point> starts = {{0, 0}, {8, 0}, {0, 6}, {8, 6}, {4, 3}, {1, 5}};
    for (const auto& [x, y] : starts) {
        for (int dx = -14; dx <= 14; ++dx) {
            for (int dy = -14; dy <= 14; ++dy) {
                canvas c(9, 7), r(9, 7);
                test::fill(c.surface, 0);
                c.pen_x = r.pen_x = x;
                c.pen_y = r.pen_y = y;
                c.draw_line(dx, dy);
                const point_set expected = reference_line(r, dx, dy);
                ASSERT_EQ(changed(c.surface), expected) << "from " << x << "," << y << " by " << dx << "," << dy;
                ASSERT_EQ(pen(c), pen(r)) << "from " << x << "," << y << " by " << dx << "," << dy;
            }
        }
    }
}

TEST(Canvas, BoxesFillBothCornersAndLeaveThePenOnTheFarOne) {
    struct {
        int dx, dy, left, top, right, bottom;
    } cases[] = {
        {3, 2, 10, 10, 13, 12},
        {-3, 0, 7, 10, 10, 10},
        {0, 0, 10, 10, 10, 10},
        {-2, -5, 8, 5, 10, 10},
    };
    for (const auto& k : cases) {
        canvas c = blank();
        c.color = 0xABCDEF;
        c.draw_box(k.dx, k.dy);
        point_set expected;
        for (int y = k.top; y <= k.bottom; ++y)
            for (int x = k.left; x <= k.right; ++x) expected.insert({x, y});
        EXPECT_EQ(changed(c.surface), expected) << "draw_box(" << k.dx << ", " << k.dy << ")";
        EXPECT_EQ(pen(c), test::point(10 + k.dx, 10 + k.dy));
        EXPECT_EQ(test::pixel_at(c.surface, k.left, k.top), 0xABCDEFu);
    }
}

TEST(Canvas, BoxWithAFarCornerOutsideDrawsNothing) {
    for (auto [dx, dy] : {test::point{30, 0}, {0, 20}, {-11, 0}, {0, -11}, {INT32_MAX, 1}, {INT32_MIN, 0}}) {
        canvas c = blank();
        c.draw_box(dx, dy);
        EXPECT_TRUE(changed(c.surface).empty()) << dx << "," << dy;
        EXPECT_EQ(pen(c), test::point(10, 10));
    }
}

// Rows addressed by the surface's pitch: a surface whose rows are wider than
// its width, with guard words around it that must never be written.
TEST(Canvas, DrawsByPitchOnSurfacesWithPaddedRows) {
    constexpr int w = 13, h = 9, pitch_words = 20, guard = 32;
    constexpr std::uint32_t untouched = 0xDEADBEEF;
    std::vector<std::uint32_t> memory(guard + pitch_words * h + guard, untouched);
    std::uint32_t* pixels = memory.data() + guard;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) pixels[y * pitch_words + x] = 0;

    canvas c;
    c.surface = SDL_CreateRGBSurfaceFrom(pixels, w, h, 32, pitch_words * 4, 0xFF0000, 0xFF00, 0xFF, 0);
    ASSERT_NE(c.surface, nullptr);
    c.pen_x = 0;
    c.pen_y = 0;
    c.color = 0x00FF00;
    c.draw_line(100, 100);  // the diagonal runs off the bottom at row 8
    EXPECT_EQ(pen(c), test::point(8, 8));
    for (int k = 0; k <= 8; ++k) EXPECT_EQ(pixels[k * pitch_words + k], 0x00FF00u) << k;
    c.pen_x = 12;
    c.pen_y = 3;
    c.draw_dot();
    EXPECT_EQ(pixels[3 * pitch_words + 12], 0x00FF00u);
    c.draw_box(-2, 1);
    EXPECT_EQ(pixels[4 * pitch_words + 10], 0x00FF00u);

    int drawn = 0;
    for (int i = 0; i < static_cast<int>(memory.size()); ++i) {
        const int offset = i - guard;
        const bool inside = offset >= 0 && offset < pitch_words * h && offset % pitch_words < w;
        if (!inside) EXPECT_EQ(memory[i], untouched) << "written outside the surface at word " << offset;
        else if (memory[i] != 0) ++drawn;
    }
    EXPECT_EQ(drawn, 9 + 1 + 5);  // the diagonal's 9, then the dot inside the 3 x 2 box
    SDL_FreeSurface(c.surface);
}

TEST(Canvas, EverythingOnAClosedCanvasDoesNothing) {
    canvas c;
    c.pen_x = 3;
    c.pen_y = 4;
    EXPECT_FALSE(c.move_point(0, 0));
    c.draw_dot();
    c.draw_line(5, 5);
    c.draw_box(1, 1);
    c.refresh();
    EXPECT_EQ(pen(c), test::point(3, 4));

    canvas failed;
    EXPECT_FALSE(failed.open(1u << 20, 1u << 20));
    failed.draw_line(-5, -5);
    failed.draw_box(-1, -1);
    failed.draw_dot();
    EXPECT_EQ(pen(failed), test::point(1 << 19, 1 << 19));
}

TEST(Canvas, EverythingOnAZeroSizedSurfaceDoesNothing) {
    for (auto [w, h] : {test::point{0, 5}, {5, 0}, {0, 0}}) {
        canvas c;
        c.open(w, h);  // SDL may or may not give a surface; neither may crash
        EXPECT_FALSE(c.move_point(0, 0));
        c.draw_dot();
        c.draw_line(1, 1);
        c.draw_box(0, 0);
    }
}

TEST(Canvas, PenPutOutsideByHandWritesNothing) {
    for (auto [x, y] : {test::point{-1, 0}, {0, -1}, {40, 0}, {0, 30}, {INT32_MIN, INT32_MAX}}) {
        canvas c = blank();
        c.pen_x = x;
        c.pen_y = y;
        c.draw_dot();
        c.draw_line(3, 3);
        c.draw_line(-3, -3);
        c.draw_box(1, 1);
        EXPECT_TRUE(changed(c.surface).empty()) << x << "," << y;
        EXPECT_EQ(pen(c), test::point(x, y));
        // A move to a point inside brings the pen back.
        if (x == -1) {
            EXPECT_TRUE(c.move_point(1, 0));
            EXPECT_EQ(pen(c), test::point(0, 0));
        }
    }
}

TEST(Canvas, SurfaceOfAnotherDepthIsLeftAlone) {
    canvas c;
    c.surface = SDL_CreateRGBSurface(0, 16, 16, 8, 0, 0, 0, 0);
    ASSERT_NE(c.surface, nullptr);
    c.pen_x = 8;
    c.pen_y = 8;
    c.draw_dot();
    c.draw_line(7, 7);
    const auto* bytes = static_cast<const std::uint8_t*>(c.surface->pixels);
    for (int i = 0; i < c.surface->pitch * 16; ++i) ASSERT_EQ(bytes[i], 0) << i;
    SDL_FreeSurface(c.surface);
}

// A run-length accelerated surface must be locked before its pixels are
// touched; drawing locks it once and leaves it unlocked.
TEST(Canvas, SurfacesThatMustBeLockedAreDrawnAndLeftUnlocked) {
    canvas c(32, 32);
    test::fill(c.surface, 0);
    SDL_SetColorKey(c.surface, SDL_SRCCOLORKEY | SDL_RLEACCEL, 0);
    canvas target(32, 32);
    SDL_BlitSurface(c.surface, nullptr, target.surface, nullptr);  // encodes it
    if (!SDL_MUSTLOCK(c.surface)) GTEST_SKIP() << "this SDL never asks to lock a run-length surface";

    c.pen_x = 2;
    c.pen_y = 2;
    c.color = 0x0000FF;
    c.draw_line(10, 0);
    c.draw_dot();

    ASSERT_EQ(SDL_LockSurface(c.surface), 0);
    EXPECT_EQ(changed(c.surface).size(), 11u);
    EXPECT_EQ(test::pixel_at(c.surface, 12, 2), 0x0000FFu);
    SDL_UnlockSurface(c.surface);
    EXPECT_EQ(c.surface->locked, 0u);
}

TEST(Canvas, PixelReadsTheColourBackOrMinusOne) {
    kavex::canvas c = test::blank(20, 10, 3, 4);
    c.set_color(0x12, 0x34, 0x56);
    c.draw_dot();
    EXPECT_EQ(c.pixel(3, 4), 0x123456);
    EXPECT_EQ(c.pixel(0, 0), 0);
    const std::uint32_t with_high_bits = 0xFF00FF00u;
    std::memcpy(static_cast<std::uint8_t*>(c.surface->pixels) + 9 * c.surface->pitch + 19 * 4, &with_high_bits, 4);
    EXPECT_EQ(c.pixel(19, 9), 0x00FF00) << "bits 24-31 are no part of the colour";
    for (const auto& [x, y] : {std::pair{-1, 0}, {0, -1}, {20, 0}, {0, 10}, {INT_MIN, INT_MAX}})
        EXPECT_EQ(c.pixel(x, y), -1) << x << "," << y;
    EXPECT_EQ(kavex::canvas().pixel(0, 0), -1);
}
