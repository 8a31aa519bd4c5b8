// Rectangle copies: exactly which pixels arrive, with and without the black key.
#include "support.hpp"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <vector>

using kavex::canvas;
using test::pixel_at;
using test::pixels_of;

namespace {

constexpr std::uint32_t background = 0x336699;

// Every third pixel black, the others distinct colours.
std::uint32_t pattern(int x, int y) {
    return (x + 2 * y) % 3 == 0 ? 0 : 0x010000u * (x + 1) + 0x000100u * (y + 1) + 0x40;
}

canvas patterned(int w, int h, bool transparent) {
    canvas c(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            c.pen_x = x;
            c.pen_y = y;
            c.color = static_cast<std::int32_t>(pattern(x, y));
            c.draw_dot();
        }
    c.pen_x = 1;
    c.pen_y = 2;
    c.color = 0x112233;
    c.set_transparent(transparent);
    return c;
}

canvas plain(int w, int h) {
    canvas c(w, h);
    test::fill(c.surface, background);
    return c;
}

struct copy_args {
    int sx, sy, w, h, dx, dy;
};

// What the destination shows after a copy, worked out pixel by pixel: a
// pixel comes from the source when its source point lies in the requested
// rectangle and in the source surface; black stays out only when the copy is
// keyed.
std::vector<std::uint32_t> expected_after(const canvas& source, const canvas& target, copy_args a, bool keyed) {
    const std::int64_t sx = a.sx == -1 ? 0 : a.sx, sy = a.sy == -1 ? 0 : a.sy;
    const std::int64_t w = a.w == -1 ? source.surface->w : a.w, h = a.h == -1 ? source.surface->h : a.h;
    std::vector<std::uint32_t> out;
    for (int y = 0; y < target.surface->h; ++y)
        for (int x = 0; x < target.surface->w; ++x) {
            const std::int64_t fx = x - std::int64_t{a.dx} + sx, fy = y - std::int64_t{a.dy} + sy;
            const bool in_rect = fx >= sx && fy >= sy && fx < sx + w && fy < sy + h;
            const bool in_source = fx >= 0 && fy >= 0 && fx < source.surface->w && fy < source.surface->h;
            std::uint32_t value = pixel_at(target.surface, x, y);
            if (in_rect && in_source) {
                const std::uint32_t from = pixel_at(source.surface, int(fx), int(fy));
                if (from != 0 || !keyed) value = from;
            }
            out.push_back(value);
        }
    return out;
}

// Copies and checks every pixel of the destination; returns false on a mismatch.
::testing::AssertionResult copies_as_expected(const canvas& source, canvas& target, copy_args a, bool keyed) {
    const auto expected = expected_after(source, target, a, keyed);
    target.blitfrom(source, a.sx, a.sy, a.w, a.h, a.dx, a.dy);
    if (pixels_of(target) == expected) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "blitfrom(" << a.sx << ", " << a.sy << ", " << a.w << ", " << a.h
                                         << ", " << a.dx << ", " << a.dy << ") keyed " << keyed;
}

}  // namespace

TEST(Copy, TransparentSourceLeavesTheDestinationUnderItsBlack) {
    const canvas sprite = patterned(6, 4, true);
    canvas target = plain(20, 20);
    EXPECT_TRUE(copies_as_expected(sprite, target, {1, 1, 4, 3, 5, 7}, true));
    EXPECT_EQ(pixel_at(target.surface, 5, 7), background) << "(1, 1) of the source is black";
    EXPECT_EQ(pixel_at(target.surface, 6, 7), pattern(2, 1));

    // The whole-surface copy reaches the far edges and is keyed too.
    canvas same_size = plain(6, 4);
    EXPECT_TRUE(copies_as_expected(sprite, same_size, {-1, -1, -1, -1, 0, 0}, true));
    canvas again = plain(6, 4);
    again.blitfrom(sprite, 0, 0);
    EXPECT_EQ(pixels_of(again), pixels_of(same_size));
}

TEST(Copy, OpaqueSourceCopiesBlackEvenAfterAKeyedCopy) {
    canvas sprite = patterned(6, 4, false);
    canvas target = plain(10, 10);
    EXPECT_TRUE(copies_as_expected(sprite, target, {-1, -1, -1, -1, 2, 2}, false));

    sprite.set_transparent(true);
    canvas keyed = plain(10, 10);
    EXPECT_TRUE(copies_as_expected(sprite, keyed, {-1, -1, -1, -1, 2, 2}, true));
    sprite.set_transparent(false);
    EXPECT_TRUE(copies_as_expected(sprite, keyed, {-1, -1, -1, -1, 2, 2}, false));
    EXPECT_EQ(pixel_at(keyed.surface, 2, 2), 0u);
}

// Every combination of small, default, negative and far-away values against
// the pixel-by-pixel reading: clipping at every edge, keyed or not. A
// transparent copy keeps black out only while both rectangles lie inside
// their surfaces; touching the far edge still counts as inside.
TEST(Copy, ClipsAtEveryEdge) {
    const int sources[] = {-1, -3, 0, 2, 5};
    const int sizes[] = {-1, 0, 2, 5, 9};
    const int targets[] = {-6, -1, 0, 3, 7};
    canvas sprite = patterned(5, 4, false);
    canvas target = plain(7, 6);
    for (bool transparent : {false, true}) {
        sprite.set_transparent(transparent);
        for (int sx : sources)
            for (int sy : sources)
                for (int w : sizes)
                    for (int h : sizes)
                        for (int dx : targets)
                            for (int dy : targets) {
                                test::fill(target.surface, background);
                                const std::int64_t x0 = sx == -1 ? 0 : sx, y0 = sy == -1 ? 0 : sy;
                                const std::int64_t ww = w == -1 ? 5 : w, hh = h == -1 ? 4 : h;
                                const bool inside = x0 >= 0 && y0 >= 0 && dx >= 0 && dy >= 0 && x0 + ww <= 5 &&
                                                    y0 + hh <= 4 && dx + ww <= 7 && dy + hh <= 6;
                                ASSERT_TRUE(copies_as_expected(sprite, target, {sx, sy, w, h, dx, dy},
                                                               transparent && inside));
                            }
    }
}

// Values that SDL_Rect's 16-bit fields would wrap into some other rectangle.
TEST(Copy, HugeAndExtremeArgumentsClipOrCopyNothing) {
    const canvas sprite = patterned(5, 4, true);
    const int extremes[] = {INT_MIN, INT_MIN + 1, -65536, -32769, 32768, 65536 + 2, 70000, INT_MAX - 1, INT_MAX};
    for (int big : extremes) {
        const copy_args cases[] = {
            {0, 0, 5, 4, big, 1}, {0, 0, 5, 4, 1, big}, {big, 0, 5, 4, 0, 0}, {0, big, 5, 4, 0, 0},
            {0, 0, big, 4, 0, 0}, {0, 0, 5, big, 0, 0}, {big, big, big, big, big, big},
            {-(big / 2), 0, big, big, 0, 0},  // halved first: -INT_MIN overflows
        };
        for (const auto& a : cases) {
            canvas target = plain(7, 6);
            EXPECT_TRUE(copies_as_expected(sprite, target, a, false));
        }
    }
}

TEST(Copy, WithinOneSurfaceReadsThePixelsAsTheyWereBefore) {
    for (bool transparent : {false, true})
        for (int shift : {-3, -1, 1, 3}) {
            canvas c = patterned(12, 5, transparent);
            const canvas before = patterned(12, 5, transparent);
            const auto expected = expected_after(before, c, {2, 0, 7, 5, 2 + shift, 0}, transparent);
            c.blitfrom(c, 2, 0, 7, 5, 2 + shift, 0);
            EXPECT_EQ(pixels_of(c), expected) << "shift " << shift << " transparent " << transparent;
        }
}

TEST(Copy, MovesNoPenAndUsesNoColour) {
    canvas sprite = patterned(6, 4, true);
    canvas target = plain(10, 10);
    target.pen_x = 9;
    target.pen_y = 0;
    target.color = 0xABCDEF;
    target.blitfrom(sprite, 1, 1, 3, 2, 4, 4);
    target.blitfrom(sprite, -1, -1, -1, -1, -3, 8);
    EXPECT_EQ(test::pen(target), test::point(9, 0));
    EXPECT_EQ(target.color, 0xABCDEF);
    EXPECT_EQ(test::pen(sprite), test::point(1, 2));
    EXPECT_EQ(sprite.color, 0x112233);
    EXPECT_TRUE(sprite.transparent);
    EXPECT_EQ(test::changed(target.surface, background).count({5, 4}), 1u) << "something was copied";
}

TEST(Copy, NothingHappensWithoutASurfaceOnEitherSide) {
    canvas closed;
    closed.set_transparent(true);
    canvas target = plain(8, 8);
    target.blitfrom(closed, 0, 0);
    target.blitfrom(closed, -1, -1, -1, -1, 0, 0);
    EXPECT_TRUE(test::changed(target.surface, background).empty());

    const canvas sprite = patterned(4, 4, true);
    closed.blitfrom(sprite, 0, 0);
    closed.blitfrom(closed, 0, 0);
    EXPECT_EQ(closed.surface, nullptr);
}
