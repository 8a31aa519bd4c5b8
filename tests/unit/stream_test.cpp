// The drawing command stream: absolute commands applied left to right.
#include "support.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>

using namespace kavex;
using test::blank;
using test::changed;
using test::pen;
using test::point_set;

namespace {

struct counting_canvas : canvas {
    using canvas::canvas;
    int refreshes = 0;
    void refresh() override { ++refreshes; }
};

}  // namespace

TEST(Stream, ChainsApplyLeftToRightReadingThePenWhenApplied) {
    canvas c = blank();
    c << use_color(0, 0, 255) << move_abs(2, 3) << dot << line_abs(6, 3) << move_abs(0, 0) << box_rel(1, 1)
      << use_color(255, 0, 0) << move_abs(10, 10) << box_abs(11, 12);
    EXPECT_EQ(test::pixel_at(c.surface, 2, 3), 0x0000FFu);
    EXPECT_EQ(test::pixel_at(c.surface, 6, 3), 0x0000FFu);
    EXPECT_EQ(test::pixel_at(c.surface, 1, 1), 0x0000FFu);
    EXPECT_EQ(test::pixel_at(c.surface, 11, 12), 0xFF0000u);
    EXPECT_EQ(changed(c.surface).size(), 5u + 4u + 6u);
    EXPECT_EQ(pen(c), test::point(11, 12));
}

TEST(Stream, FloatingArgumentsTruncateTowardZero) {
    canvas c = blank();
    c << move_abs(2.9, 3.9);
    EXPECT_EQ(pen(c), test::point(2, 3));
    c << move_abs(-0.5, 7);
    EXPECT_EQ(pen(c), test::point(0, 7));
    c << move_abs(5.0f, 5.99) << line_abs(9.7, 5.2);
    EXPECT_EQ(pen(c), test::point(9, 5));
    c << box_rel(-2.9, 1.5);
    EXPECT_EQ(pen(c), test::point(7, 6));
}

TEST(Stream, RefusedMoveLeavesThePenAndTheChainGoesOn) {
    canvas c = blank();
    c << move_abs(5, 5) << move_abs(-2, 4) << dot << move_abs(40, 0) << line_abs(7, 5);
    EXPECT_EQ(changed(c.surface), (point_set{{5, 5}, {6, 5}, {7, 5}}));
    EXPECT_EQ(pen(c), test::point(7, 5));
    c << box_abs(100, 100) << box_rel(-8, 0);  // both far corners outside
    EXPECT_EQ(pen(c), test::point(7, 5));
    EXPECT_EQ(changed(c.surface).size(), 3u);
}

TEST(Stream, BoxAbsIsBoxRelFromThePen) {
    canvas a = blank(), b = blank();
    a << move_abs(20, 15) << box_abs(12, 9);
    b << move_abs(20, 15) << box_rel(12 - 20, 9 - 15);
    EXPECT_EQ(changed(a.surface), changed(b.surface));
    EXPECT_EQ(changed(a.surface).size(), 9u * 7u);
    EXPECT_EQ(pen(a), pen(b));
}

TEST(Stream, UseColorPassesValuesToSetColor) {
    canvas c;
    c << use_color(300, -1, 0);
    EXPECT_EQ(c.color, 0x2CFF00);
}

TEST(Stream, RefreshCallsTheCanvasOwnRefresh) {
    counting_canvas counted(10, 10);
    canvas& plain = counted;
    plain << refresh << refresh;
    EXPECT_EQ(counted.refreshes, 2);

    canvas c = blank();
    c << move_abs(3, 3) << refresh << dot;  // a plain canvas has nothing to show
    EXPECT_EQ(changed(c.surface), (point_set{{3, 3}}));
}

TEST(Stream, PositionsThatNoIntegerHoldsAreRefused) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    for (double bad : {nan, inf, -inf, 1e300, -1e300}) {
        canvas c = blank();
        c << move_abs(5, 5);
        c << move_abs(bad, 1) << dot << move_abs(1, bad) << line_abs(bad, bad) << box_abs(bad, 2)
          << box_rel(bad, 0) << box_rel(0, bad);
        EXPECT_EQ(pen(c), test::point(5, 5)) << bad;
        EXPECT_EQ(changed(c.surface), (point_set{{5, 5}})) << bad;
    }
}

TEST(Stream, WholeNumbersWrapAt32Bits) {
    canvas c = blank();
    c << move_abs(4294967296.0 + 6, 4294967296LL * 3 + 2);
    EXPECT_EQ(pen(c), test::point(6, 2));
    c << move_abs(0xFFFFFFFFu, 2);  // column -1
    EXPECT_EQ(pen(c), test::point(6, 2));
}

// INT_MIN and 2^31 are ordinary whole numbers: from column 10 the wrapped
// difference points far right, so the line runs to the right edge.
TEST(Stream, LinesTowardTheMostNegativeIntegerFollowTheWrap) {
    for (const line_abs& toward : {line_abs(INT32_MIN, 10), line_abs(0x80000000u, 10), line_abs(-2147483648.0, 10)}) {
        canvas c = blank(20, 20);
        c << move_abs(10, 10) << toward;
        EXPECT_EQ(pen(c), test::point(19, 10));
        point_set row;
        for (int x = 10; x <= 19; ++x) row.insert({x, 10});
        EXPECT_EQ(changed(c.surface), row);
    }
}
