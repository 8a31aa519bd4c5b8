// Defined behaviour for every number a program can pass: floating positions
// that no 32-bit integer holds, and integers at the ends of their range.
// Each case here once was, or could easily be, undefined behaviour; the
// sanitized build of this suite turns any such slip into a failure.
#include "support.hpp"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <vector>

using namespace kavex;
using test::blank;
using test::changed;
using test::pen;
using test::point;
using test::point_set;

namespace {

constexpr double nan_ = std::numeric_limits<double>::quiet_NaN();
constexpr double inf = std::numeric_limits<double>::infinity();
constexpr double two_63 = 9223372036854775808.0;

// Every value a double can take that no 64-bit integer holds.
const std::vector<double> unrepresentable = {nan_, -nan_, inf, -inf, two_63, -two_63 * 2, 1e19, -1e19, 1e300,
                                             -1e300, std::numeric_limits<double>::max(),
                                             std::numeric_limits<double>::lowest()};

}  // namespace

// --- Floating positions -----------------------------------------------------

TEST(Limits, EveryCommandRefusesPositionsThatNoIntegerHolds) {
    for (double bad : unrepresentable) {
        canvas c = blank();
        c << move_abs(bad, 5) << move_abs(5, bad) << dot;
        EXPECT_EQ(pen(c), point(10, 10)) << bad;
        c << line_abs(bad, 10) << line_abs(10, bad) << line_abs(bad, bad);
        c << box_abs(bad, 10) << box_abs(10, bad) << box_rel(bad, 0) << box_rel(0, bad);
        EXPECT_EQ(pen(c), point(10, 10)) << bad;
        EXPECT_EQ(changed(c.surface), (point_set{{10, 10}})) << bad;
    }
}

TEST(Limits, FloatAndLongDoubleArgumentsAreRefusedAlike) {
    const float fbad[] = {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity(),
                          -std::numeric_limits<float>::infinity(), 1e19f, -1e38f};
    const long double lbad[] = {std::numeric_limits<long double>::quiet_NaN(), 1e4000L, -1e4000L,
                                9223372036854775808.0L, -9223372036854775809.0L};
    canvas c = blank();
    for (float bad : fbad) c << move_abs(bad, 1) << line_abs(1, bad) << box_rel(bad, bad);
    for (long double bad : lbad) c << move_abs(1, bad) << line_abs(bad, 1) << box_abs(bad, 0);
    EXPECT_EQ(pen(c), point(10, 10));
    EXPECT_TRUE(changed(c.surface).empty());
}

// Values that fit in 64 bits keep the 32-bit wrap-around, up to the very ends.
TEST(Limits, WholeNumbersUpToSixtyFourBitsWrapAt32Bits) {
    canvas c = blank();
    c << move_abs(-two_63, 3);  // exactly -2^63, a multiple of 2^32: column 0
    EXPECT_EQ(pen(c), point(0, 3));
    c << move_abs(5, 5) << move_abs(-9223372036854775808.5L, 3);  // truncates to -2^63
    EXPECT_EQ(pen(c), point(0, 3));
    c << move_abs(9007199254740992.0 + 8, 4294967296.0 * -5 + 6.9);  // -5 * 2^32 + 7 after truncation
    EXPECT_EQ(pen(c), point(8, 7));
    // The largest double below 2^63 is 2^63 - 1024, column -1024: a line
    // toward it runs left to the edge.
    c << line_abs(9223372036854774784.0, 7);
    EXPECT_EQ(pen(c), point(0, 7));
    EXPECT_EQ(changed(c.surface).size(), 9u);
    c << move_abs(9223372036854775807LL, 2);  // the largest int64: column -1, refused
    EXPECT_EQ(pen(c), point(0, 7));
    c << move_abs(18446744073709551615ULL - 0xFFFFFFFFULL + 20, 1ULL << 40);  // 2^64 - 2^32 + 20
    EXPECT_EQ(pen(c), point(20, 0));
}

TEST(Limits, ColourArgumentsOfAnyValueKeepTheirLowByte) {
    canvas c;
    c << use_color(nan_, inf, -inf);
    EXPECT_EQ(c.color, 0);
    c << use_color(511.9, -1.5, 4294967296.0 + 0x42);
    EXPECT_EQ(c.color, 0xFFFF42);
    c << use_color(INT_MIN, INT_MAX, 1e300);
    EXPECT_EQ(c.color, 0x00FF00);
}

// --- Integers at the ends of their range -------------------------------------

TEST(Limits, PenArithmeticNeverOverflows) {
    const int extremes[] = {INT_MIN, INT_MIN + 1, -65536, 65536, INT_MAX - 1, INT_MAX};
    for (int dx : extremes) {
        for (int dy : extremes) {
            canvas c = blank();
            EXPECT_FALSE(c.move_point(dx, dy)) << dx << "," << dy;
            c.draw_box(dx, dy);
            EXPECT_EQ(pen(c), point(10, 10)) << dx << "," << dy;
            c.draw_line(dx, dy);  // stops at its last pixel inside
            EXPECT_TRUE(c.pen_x >= 0 && c.pen_x < 40 && c.pen_y >= 0 && c.pen_y < 30) << dx << "," << dy;
            EXPECT_FALSE(changed(c.surface).empty());
        }
    }
    // From the pen's own extremes, put there by hand, nothing is drawn or moved
    // except by a move that lands inside.
    canvas c = blank();
    c.pen_x = INT_MAX;
    c.pen_y = INT_MIN;
    c.draw_line(INT_MIN, INT_MAX);
    c.draw_box(INT_MIN, INT_MAX);
    c << box_rel(INT_MIN, INT_MAX) << line_abs(0, 0) << dot;
    EXPECT_EQ(pen(c), point(INT_MAX, INT_MIN));
    EXPECT_TRUE(changed(c.surface).empty());
    EXPECT_FALSE(c.move_point(INT_MIN + 1, INT_MAX)) << "(0, -1) lies just outside";
    c.pen_y = -1;
    EXPECT_TRUE(c.move_point(INT_MIN + 1, 1));
    EXPECT_EQ(pen(c), point(0, 0));
}

TEST(Limits, SizesAtTheEndsOfTheirRangeAreRefusedAndCentreThePen) {
    canvas c;
    EXPECT_FALSE(c.open(UINT_MAX, UINT_MAX));
    EXPECT_EQ(c.surface, nullptr);
    EXPECT_EQ(pen(c), point(INT_MAX, INT_MAX));
    canvas negative(INT_MIN, -1);
    EXPECT_EQ(negative.surface, nullptr);
    EXPECT_EQ(pen(negative), point(1 << 30, INT_MAX));
    // Just past what SDL_Rect and a 16-bit pitch can address.
    EXPECT_FALSE(c.open(16384, 1));
    EXPECT_FALSE(c.open(1, 32768));
    EXPECT_FALSE(gout.open(UINT_MAX, 2, false));
    EXPECT_EQ(pen(gout), point(INT_MAX, 1));
}

TEST(Limits, TheLargestSurfacesAreDrawnToTheirLastPixel) {
    canvas wide(16383, 2), tall(1, 32767);
    ASSERT_NE(wide.surface, nullptr);
    ASSERT_NE(tall.surface, nullptr);
    test::fill(wide.surface, 0);
    test::fill(tall.surface, 0);
    wide << move_abs(0, 0) << box_abs(16382, 1);
    EXPECT_EQ(changed(wide.surface).size(), 16383u * 2);
    tall << move_abs(0, 32766) << box_rel(0, -32766);
    EXPECT_EQ(changed(tall.surface).size(), 32767u);
    EXPECT_EQ(pen(tall), point(0, 0));
    SDL_FreeSurface(wide.surface);
    SDL_FreeSurface(tall.surface);
}

// A surface made by hand may be taller than SDL_Rect reaches: a box there
// would wrap into the wrong rows, so it is refused; dots and lines, written
// by the library itself, still reach every row.
TEST(Limits, BoxesPastTheReachOfSdlRectAreRefused) {
    canvas c;
    c.surface = SDL_CreateRGBSurface(0, 2, 40000, 32, 0xFF0000, 0xFF00, 0xFF, 0);
    ASSERT_NE(c.surface, nullptr);
    test::fill(c.surface, 0);
    c.pen_x = 0;
    c.pen_y = 32767;
    c.draw_box(1, 0);  // the last row it reaches
    EXPECT_EQ(changed(c.surface), (point_set{{0, 32767}, {1, 32767}}));
    c.draw_box(0, 1);
    EXPECT_EQ(pen(c), point(1, 32767)) << "a box onto row 32768 is refused";
    c << move_abs(0, 39999) << box_rel(0, -39999) << box_abs(1, 32768);
    EXPECT_EQ(pen(c), point(0, 39999));
    EXPECT_EQ(changed(c.surface).size(), 2u);
    c << dot << line_abs(0, 39990);
    EXPECT_EQ(changed(c.surface).size(), 2u + 10u);
    SDL_FreeSurface(c.surface);
}

// Copy rectangles are worked out in 64 bits and handed to SDL only once they
// fit SDL_Rect: a rectangle 65534 rows down must not wrap to row -2.
TEST(Limits, CopiesPastTheReachOfSdlRectAreRefusedNotWrapped) {
    canvas sprite(2, 2);
    test::fill(sprite.surface, 0xFFFFFF);
    canvas tall;  // as tall as SDL allows, twice what SDL_Rect reaches; made by hand
    tall.surface = SDL_CreateRGBSurface(0, 2, 65535, 32, 0xFF0000, 0xFF00, 0xFF, 0);
    ASSERT_NE(tall.surface, nullptr);
    test::fill(tall.surface, 0);

    for (int dy : {65536, 65536 + 5, 32768, INT_MAX, INT_MIN, -65536}) tall.blitfrom(sprite, -1, -1, -1, -1, 0, dy);
    for (int sy : {65536, INT_MIN + 1, INT_MAX}) tall.blitfrom(sprite, 0, sy, 2, 2, 0, 0);
    tall.blitfrom(sprite, 0, 0, INT_MAX, INT_MAX, 65536, 0);
    EXPECT_TRUE(changed(tall.surface).empty());

    tall.blitfrom(sprite, -1, -1, -1, -1, 0, 32766);  // the last two rows SDL_Rect reaches
    EXPECT_EQ(changed(tall.surface), (point_set{{0, 32766}, {1, 32766}, {0, 32767}, {1, 32767}}));

    // Row 65534 is black; wrapped to row -2, the copy would bring the white
    // rows 0 and 1 to rows 2 and 3 of the target.
    tall.blitfrom(sprite, 0, 0);
    canvas target(2, 4);
    test::fill(target.surface, 0);
    target.blitfrom(tall, 0, 65534, 2, 4, 0, 0);
    EXPECT_TRUE(changed(target.surface).empty());
    SDL_FreeSurface(tall.surface);
}

// A surface made by hand whose rows lie a few bytes more than a whole pixel
// apart is left alone like one of another depth: SDL2's fill would run past
// its end. Found by the fuzzer on the compatibility library.
TEST(Limits, SurfacesWhoseRowsDoNotStartOnAWholePixelAreLeftAlone) {
    constexpr int w = 30, h = 10, pitch = 4 * w + 1;
    std::vector<std::uint8_t> memory(pitch * h + 64, 0x5A);
    canvas c;
    c.surface = SDL_CreateRGBSurfaceFrom(memory.data(), w, h, 32, pitch, 0xFF0000, 0xFF00, 0xFF, 0);
    ASSERT_NE(c.surface, nullptr);
    c.pen_x = c.pen_y = 0;
    c.draw_box(w - 1, h - 1);
    c << move_abs(5, 5) << dot << line_abs(20, 8);
    c.draw_text("A");
    canvas other(4, 4);
    c.blitfrom(other, 0, 0);
    other.blitfrom(c, 0, 0);
    EXPECT_EQ(pen(c), point(0, 0));
    for (std::uint8_t byte : memory) ASSERT_EQ(byte, 0x5A);
    SDL_FreeSurface(c.surface);
}

// --- Input ----------------------------------------------------------------

// A program may push a key event with any number as its symbol; SDLKey has no
// value for most of them. Such a key maps like any other unknown key: by the
// character it types, and swallowed when it types none.
TEST(Limits, KeySymbolsOutsideTheEnumerationMapByTheirCharacter) {
    auto key_down = [](std::uint32_t symbol, Uint16 unicode) {
        SDL_Event e{};
        e.key.type = SDL_KEYDOWN;
        e.key.state = SDL_PRESSED;
        std::memcpy(&e.key.keysym.sym, &symbol, sizeof symbol);
        e.key.keysym.unicode = unicode;
        return e;
    };
    SDL_Event pushed[] = {key_down(32768, 'a'), key_down(0xFFFFFFEFu, 0), key_down(0x80000000u, 0x161),
                          key_down(273 + 65536, 0)};
    for (SDL_Event& e : pushed) ASSERT_EQ(SDL_PushEvent(&e), 0);
    SDL_Event end{};
    end.user.type = SDL_USEREVENT;
    end.user.code = 99;
    ASSERT_EQ(SDL_PushEvent(&end), 0);

    event ev{};
    EXPECT_EQ(gin.wait_event(ev).quit, false);
    EXPECT_EQ(ev.key, 'a');
    gin.wait_event(ev);  // 0xFFFFFFEF types nothing: swallowed
    EXPECT_EQ(ev.key, 0x9A) << "s with caron, its Windows-1250 byte";
    gin.wait_event(ev);  // 273 + 65536 is not the up arrow, and types nothing
    EXPECT_EQ(ev.key, 0);
    EXPECT_EQ(ev.ticks, 99);
}
