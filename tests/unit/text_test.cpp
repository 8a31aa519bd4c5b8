// Text: where glyphs land, where the pen goes, and how coverage blends.
#include "pixels.hpp"
#include "support.hpp"

#include <gtest/gtest.h>

using kavex::canvas;
using test::blank;
using test::changed;
using test::pen;
using test::point;
using test::point_set;

namespace {

// Capital A as a reader draws it: rows 4-12 of the cell, columns from the left.
const char* const capital_a[] = {
    "....#...", "...###..", "...#.#..", "...#.#..", "..#...#.",
    "..#...#.", "..#####.", ".##...##", ".#.....#",
};

point_set capital_a_at(int x, int pen_row) {
    point_set out;
    for (int r = 0; r < 9; ++r)
        for (int j = 0; j < 8; ++j)
            if (capital_a[r][j] == '#') out.insert({x + j, pen_row - 13 + 4 + r});
    return out;
}

point_set underscore_at(int x, int pen_row, int columns = 8) {
    point_set out;
    for (int j = 0; j < columns; ++j) out.insert({x + j, pen_row + 2});
    return out;
}

}  // namespace

TEST(Text, GlyphsStandOnTheRowAboveThePenAndAdvanceEight) {
    canvas c = blank(60, 40, 10, 20);
    c.draw_text("A_");
    point_set expected = capital_a_at(10, 20);
    const point_set line = underscore_at(18, 20);
    expected.insert(line.begin(), line.end());
    EXPECT_EQ(changed(c.surface), expected);
    EXPECT_EQ(pen(c), point(26, 20));
}

TEST(Text, NewlineStartsUnderTheFirstCharacter) {
    canvas c = blank(60, 60, 10, 20);
    c.draw_text("AA\nA_");
    EXPECT_EQ(pen(c), point(26, 37));
    const point_set drawn = changed(c.surface);
    for (const point& p : capital_a_at(10, 37)) EXPECT_TRUE(drawn.count(p)) << p.first << "," << p.second;
    for (const point& p : underscore_at(18, 37)) EXPECT_TRUE(drawn.count(p)) << p.first << "," << p.second;

    c.draw_text("\n");  // a trailing newline leaves the pen at the start of a new line
    EXPECT_EQ(pen(c), point(26, 54));
}

TEST(Text, NothingIsDrawnUnlessTheWholeCellFitsVertically) {
    canvas high = blank(40, 100, 5, 12);
    high.draw_text("A");
    EXPECT_TRUE(changed(high.surface).empty());
    EXPECT_EQ(pen(high), point(5, 12));

    canvas top = blank(40, 100, 5, 13);  // the top glyph row lands on row 0
    top.draw_text("A");
    EXPECT_EQ(changed(top.surface), capital_a_at(5, 13));

    canvas low = blank(40, 100, 5, 95);  // rows 82-98
    low.draw_text("_");
    EXPECT_EQ(changed(low.surface), underscore_at(5, 95));
    EXPECT_EQ(pen(low), point(13, 95));

    canvas lower = blank(40, 100, 5, 96);
    lower.draw_text("_");
    EXPECT_TRUE(changed(lower.surface).empty());
    EXPECT_EQ(pen(lower), point(5, 96));
}

TEST(Text, RightEdgeCutsTheGlyphAndKeepsThePenOnTheLastColumn) {
    canvas c = blank(20, 40, 10, 20);
    c.draw_text("___");
    point_set expected = underscore_at(10, 20, 10);
    EXPECT_EQ(changed(c.surface), expected);
    EXPECT_EQ(pen(c), point(19, 20));

    canvas exact = blank(18, 40, 10, 20);  // a glyph ending on the last column also ends the text
    exact.draw_text("_\n_");
    EXPECT_EQ(changed(exact.surface), underscore_at(10, 20));
    EXPECT_EQ(pen(exact), point(17, 20));
}

TEST(Text, NewlineNearTheBottomEndsTheText) {
    canvas c = blank(60, 100, 10, 90);  // the next line, row 107, lies outside
    c.draw_text("_\n_");
    EXPECT_EQ(changed(c.surface), underscore_at(10, 90));
    EXPECT_EQ(pen(c), point(18, 90));

    canvas d = blank(60, 100, 10, 80);  // row 97 lies inside but its cell does not
    d.draw_text("_\n_");
    EXPECT_EQ(changed(d.surface), underscore_at(10, 80));
    EXPECT_EQ(pen(d), point(10, 97));
}

TEST(Text, EmptyTextAndBlankGlyphsDrawNothing) {
    canvas c = blank(60, 40, 10, 20);
    c.draw_text("");
    EXPECT_EQ(pen(c), point(10, 20));
    c.draw_text(std::string(" \t\x01\x7f\xa0", 5));
    EXPECT_TRUE(changed(c.surface).empty());
    EXPECT_EQ(pen(c), point(50, 20));
}

TEST(Text, WidthIsEightTimesTheLongestLine) {
    const canvas c;  // needs no surface
    EXPECT_EQ(c.twidth(""), 0);
    EXPECT_EQ(c.twidth("abc"), 24);
    EXPECT_EQ(c.twidth("ab\ncdef\n"), 32);
    EXPECT_EQ(c.twidth("\n\n"), 0);
    EXPECT_EQ(c.twidth("\xe1\xe9"), 16);
    EXPECT_EQ(c.cascent(), 13);
    EXPECT_EQ(c.cdescent(), 4);
}

TEST(Text, CoverageBlendsEachChannelAndKeepsTheTopByte) {
    std::uint8_t pixel[4];
    kavex::detail::store_pixel(pixel, 0x12FFFFFF);
    kavex::detail::project(pixel, 0x000000, 5);
    EXPECT_EQ(kavex::detail::load_pixel(pixel), 0x12AAAAAAu);
    kavex::detail::project(pixel, 0xFFFFFF, 0);
    EXPECT_EQ(kavex::detail::load_pixel(pixel), 0x12AAAAAAu);

    canvas c = blank(40, 40, 10, 20);
    test::fill(c.surface, 0x7F0000FF);
    c.color = 0xFF0000;
    c.draw_text("_");
    EXPECT_EQ(test::pixel_at(c.surface, 12, 22), 0x7FFF0000u);
    EXPECT_EQ(test::pixel_at(c.surface, 12, 21), 0x7F0000FFu);
}

TEST(Text, ClosedCanvasOrPenOutsideDrawsNothing) {
    canvas closed;
    closed.pen_x = 10;
    closed.pen_y = 20;
    closed.draw_text("AAA\nAAA");
    EXPECT_EQ(pen(closed), point(10, 20));

    for (point outside : {point{-8, 20}, point{40, 20}, point{5, 60}, point{INT32_MIN, INT32_MAX}}) {
        canvas c = blank(40, 40, outside.first, outside.second);
        c.draw_text("AAAAAAAA");
        EXPECT_TRUE(changed(c.surface).empty());
        EXPECT_EQ(pen(c), outside);
    }
}

// Scaled text is the unscaled glyph with each pixel an n x n block, and every
// measure of the text grows with it; another canvas keeps its own scale.
TEST(Text, ScaledGlyphsAreTheUnscaledOnesBlownUp) {
    const int n = 3;
    canvas small = blank(40, 40, 4, 20);
    canvas large = blank(120, 120, 4, 60);
    large.set_text_scale(n);
    small.draw_text("Aj");
    large.draw_text("Aj");
    EXPECT_EQ(pen(small), point(4 + 16, 20));
    EXPECT_EQ(pen(large), point(4 + 16 * n, 60));
    for (int y = 0; y < 17 * n; ++y)
        for (int x = 0; x < 16 * n; ++x)
            ASSERT_EQ(test::pixel_at(large.surface, 4 + x, 60 - 13 * n + y),
                      test::pixel_at(small.surface, 4 + x / n, 20 - 13 + y / n))
                << "scaled pixel " << x << "," << y;
    EXPECT_EQ(changed(large.surface).size(), changed(small.surface).size() * n * n);

    EXPECT_EQ(large.cascent(), 13 * n);
    EXPECT_EQ(large.cdescent(), 4 * n);
    EXPECT_EQ(large.twidth("ab\nc"), 16 * n);
    EXPECT_EQ(small.cascent(), 13);
    large.draw_text("\n");
    EXPECT_EQ(pen(large), point(4 + 16 * n, 60 + 17 * n));

    large.set_text_scale(0);  // out of range: the nearer end
    EXPECT_EQ(large.cascent(), 13);
    large.set_text_scale(99);
    EXPECT_EQ(large.cascent(), 13 * 8);
}

TEST(Text, ScaledTextNeedsScaledRoomAndStopsAtTheRightEdge) {
    canvas c = blank(30, 60, 0, 25);
    c.set_text_scale(2);
    c.draw_text("A");  // needs 26 rows above the pen
    EXPECT_TRUE(changed(c.surface).empty());
    c.pen_y = 26;
    c.draw_text("A");
    EXPECT_FALSE(changed(c.surface).empty());

    canvas low = blank(30, 60, 0, 52);  // rows 52..59 hold the pen row and 7 below, one short
    low.set_text_scale(2);
    low.draw_text("A");
    EXPECT_TRUE(changed(low.surface).empty());

    canvas narrow = blank(20, 60, 0, 40);
    narrow.set_text_scale(2);
    narrow.draw_text("AB");  // B's columns beyond 20 are cut off
    EXPECT_EQ(pen(narrow), point(19, 40));
    for (const point& p : changed(narrow.surface)) EXPECT_LT(p.first, 20);
}
