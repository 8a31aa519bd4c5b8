// The built-in font table: blank codes, the cell every glyph keeps to, the two
// glyphs whose words are fixed, and letters that share a body.
#include <array>
#include <cstddef>
#include <cstdint>

#include "font.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

namespace {

using kavex::detail::charfaces;
constexpr int rows = kavex::detail::glyph_rows;
constexpr int columns = kavex::detail::glyph_width;
constexpr int nothing = -1;

std::uint32_t row_word(int code, int row) { return charfaces[static_cast<std::size_t>(code) * rows + row]; }

bool inked(int code, int row, int column) { return (row_word(code, row) >> (4 * column)) & 0xF; }

int top_row(int code) {
    for (int row = 0; row < rows; ++row)
        if (row_word(code, row) != 0) return row;
    return nothing;
}

int bottom_row(int code) {
    for (int row = rows - 1; row >= 0; --row)
        if (row_word(code, row) != 0) return row;
    return nothing;
}

std::string name(int code) {
    char text[8];
    std::snprintf(text, sizeof text, "0x%02X", code);
    return text;
}

std::vector<int> codes(int first, int last) {
    std::vector<int> out;
    for (int code = first; code <= last; ++code) out.push_back(code);
    return out;
}

std::vector<int> drawn_codes() {
    std::vector<int> out = codes(0x21, 0x7E);
    for (int code : codes(0xA1, 0xFF)) out.push_back(code);
    return out;
}

bool same_glyph(int a, int b) {
    for (int row = 0; row < rows; ++row)
        if (row_word(a, row) != row_word(b, row)) return false;
    return true;
}

int pixel_count(int code) {
    int count = 0;
    for (int row = 0; row < rows; ++row)
        for (int column = 0; column < columns; ++column) count += inked(code, row, column);
    return count;
}

// Rows of `letter` equal those of `base` from `first` to `last`; on the rows
// its mark shares with the body, the body's pixels are all still there.
void expect_body(int base, int letter, int first, int last, std::initializer_list<int> mark_rows = {}) {
    for (int row = first; row <= last; ++row) {
        const std::uint32_t body = row_word(base, row);
        const std::uint32_t seen = row_word(letter, row);
        bool marked = false;
        for (int r : mark_rows) marked = marked || r == row;
        if (marked)
            EXPECT_EQ(seen & body, body)
                << name(letter) << " loses part of " << name(base) << " on row " << row;
        else
            EXPECT_EQ(seen, body) << name(letter) << " differs from " << name(base) << " on row " << row;
    }
}

// The pixels `letter` adds to `base`, row by row.
std::vector<std::uint32_t> mark_of(int base, int letter) {
    std::vector<std::uint32_t> mark;
    for (int row = 0; row < rows; ++row) mark.push_back(row_word(letter, row) & ~row_word(base, row));
    return mark;
}

TEST(FontTable, BlankCodesHaveNoPixel) {
    std::vector<int> blank = codes(0x00, 0x20);
    for (int code : codes(0x7F, 0xA0)) blank.push_back(code);
    for (int code : blank) EXPECT_EQ(top_row(code), nothing) << name(code);
}

TEST(FontTable, EveryDrawnCodeHasAPixel) {
    for (int code : drawn_codes()) EXPECT_NE(top_row(code), nothing) << name(code);
}

TEST(FontTable, PixelsAreBlankOrFullAndRow16IsBlank) {
    for (int code = 0; code < 256; ++code) {
        EXPECT_EQ(row_word(code, 16), 0u) << name(code);
        for (int row = 0; row < rows; ++row)
            for (int column = 0; column < columns; ++column) {
                const std::uint32_t coverage = (row_word(code, row) >> (4 * column)) & 0xF;
                EXPECT_TRUE(coverage == 0 || coverage == 15) << name(code) << " row " << row;
            }
    }
}

TEST(FontTable, CapitalAAndLowLineHaveTheirExactWords) {
    // Rows 4 to 12: the apex in column 4 down to the two feet in columns 1 and 7.
    const std::uint32_t a_body[] = {0x000F0000, 0x00FFF000, 0x00F0F000, 0x00F0F000, 0x0F000F00,
                                    0x0F000F00, 0x0FFFFF00, 0xFF000FF0, 0xF00000F0};
    for (int row = 0; row < rows; ++row) {
        EXPECT_EQ(row_word('A', row), row >= 4 && row <= 12 ? a_body[row - 4] : 0u) << "row " << row;
        EXPECT_EQ(row_word('_', row), row == 15 ? 0xFFFFFFFFu : 0u) << "row " << row;
    }
}

TEST(FontTable, Column0StaysBlankExceptInTheLowLine) {
    for (int code = 0; code < 256; ++code) {
        if (code == '_') continue;
        for (int row = 0; row < rows; ++row)
            EXPECT_FALSE(inked(code, row, 0)) << name(code) << " row " << row;
    }
}

TEST(FontTable, CapitalsAndDigitsStandOnRows4To12) {
    std::vector<int> upright = codes('A', 'Z');
    for (int code : codes('0', '9')) upright.push_back(code);
    for (int code : upright) {
        EXPECT_EQ(top_row(code), 4) << name(code);
        EXPECT_EQ(bottom_row(code), 12) << name(code);
    }
}

TEST(FontTable, SmallLettersKeepXHeightAscendersAndDescenders) {
    for (char letter : std::string("acemnorsuvwxz")) {
        EXPECT_EQ(top_row(letter), 6) << letter;
        EXPECT_EQ(bottom_row(letter), 12) << letter;
    }
    for (char letter : std::string("bdfhkl")) {
        EXPECT_EQ(top_row(letter), 4) << letter;
        EXPECT_EQ(bottom_row(letter), 12) << letter;
    }
    EXPECT_EQ(top_row('t'), 5);
    EXPECT_EQ(bottom_row('t'), 12);
    for (char letter : std::string("gjpqy")) EXPECT_EQ(bottom_row(letter), 15) << letter;
}

TEST(FontTable, OnlyDescendersHooksAndTailsGoBelowTheBaseline) {
    const std::string below = "gjpqy,;()[]{}|_";
    const std::vector<int> hooked = {0xA1, 0xA7, 0xAA, 0xB1, 0xB2, 0xB8, 0xBA, 0xC7,
                                     0xCA, 0xDE, 0xE7, 0xEA, 0xFD, 0xFE};  // Ą § Ş ą ˛ ¸ ş Ç Ę Ţ ç ę ý ţ
    for (int code : drawn_codes()) {
        const bool allowed = below.find(static_cast<char>(code)) != std::string::npos ||
                             std::find(hooked.begin(), hooked.end(), code) != hooked.end();
        if (allowed)
            EXPECT_GT(bottom_row(code), 12) << name(code);
        else
            EXPECT_LE(bottom_row(code), 12) << name(code);
    }
}

TEST(FontTable, MarksOverCapitalsStayOnRows1To3) {
    for (int code :
         {0xA6, 0xA9, 0xAB, 0xAC, 0xAE, 0xAF, 0xC0, 0xC1, 0xC2, 0xC3, 0xC4, 0xC5, 0xC6, 0xC8, 0xC9, 0xCB,
          0xCC, 0xCD, 0xCE, 0xCF, 0xD1, 0xD2, 0xD3, 0xD4, 0xD5, 0xD6, 0xD8, 0xDA, 0xDB, 0xDC, 0xDD}) {
        EXPECT_GE(top_row(code), 1) << name(code);
        EXPECT_LE(top_row(code), 3) << name(code);
    }
}

TEST(FontTable, OnlyTheRingOfUAndTheAcuteOfLReachRow0) {
    for (int code = 0; code < 256; ++code) {
        const bool allowed = code == 0xD9 || code == 0xE5;  // Ů ĺ
        EXPECT_EQ(top_row(code) == 0, allowed) << name(code);
    }
    EXPECT_EQ(row_word(0xE5, 3), 0u) << "ĺ: a blank row between the acute and the ascender";
}

TEST(FontTable, MarksOverSmallLettersStayOnRows3To5) {
    for (int code : {0xB6, 0xB9, 0xBC, 0xBE, 0xBF, 0xE0, 0xE1, 0xE2, 0xE3, 0xE4, 0xE6, 0xE8, 0xE9, 0xEB, 0xEC,
                     0xED, 0xEE, 0xF1, 0xF2, 0xF3, 0xF4, 0xF5, 0xF6, 0xF8, 0xF9, 0xFA, 0xFB, 0xFC, 0xFD}) {
        EXPECT_GE(top_row(code), 3) << name(code);
        EXPECT_LE(top_row(code), 5) << name(code);
    }
    // ľ ď ť: the caron beside the ascender reaches no higher than other marks.
    EXPECT_GE(top_row(0xB5), 3);  // ľ
    EXPECT_GE(top_row(0xEF), 3);  // ď
    EXPECT_GE(top_row(0xBB), 3);  // ť
}

TEST(FontTable, AccentedCapitalsShareTheBodyOfTheirLetter) {
    for (int code : {0xC1, 0xC2, 0xC3, 0xC4, 0xA1}) expect_body('A', code, 4, 12);  // Á Â Ă Ä Ą
    for (int code : {0xC6, 0xC7, 0xC8}) expect_body('C', code, 4, 12);              // Ć Ç Č
    expect_body('D', 0xCF, 4, 12);                                                  // Ď
    expect_body('D', 0xD0, 4, 12, {8});                                             // Đ
    for (int code : {0xC9, 0xCA, 0xCB, 0xCC}) expect_body('E', code, 4, 12);        // É Ę Ë Ě
    for (int code : {0xCD, 0xCE}) expect_body('I', code, 4, 12);                    // Í Î
    expect_body('L', 0xC5, 4, 12);                                                  // Ĺ
    expect_body('L', 0xA5, 4, 12, {4, 5});                                          // Ľ
    expect_body('L', 0xA3, 4, 12, {7, 8, 9});                                       // Ł
    for (int code : {0xD1, 0xD2}) expect_body('N', code, 4, 12);                    // Ń Ň
    for (int code : {0xD3, 0xD4, 0xD5, 0xD6}) expect_body('O', code, 4, 12);        // Ó Ô Ő Ö
    for (int code : {0xC0, 0xD8}) expect_body('R', code, 4, 12);                    // Ŕ Ř
    for (int code : {0xA6, 0xA9, 0xAA}) expect_body('S', code, 4, 12);              // Ś Š Ş
    for (int code : {0xAB, 0xDE}) expect_body('T', code, 4, 12);                    // Ť Ţ
    for (int code : {0xD9, 0xDA, 0xDB, 0xDC}) expect_body('U', code, 4, 12);        // Ů Ú Ű Ü
    expect_body('Y', 0xDD, 4, 12);                                                  // Ý
    for (int code : {0xAC, 0xAE, 0xAF}) expect_body('Z', code, 4, 12);              // Ź Ž Ż
}

TEST(FontTable, AccentedSmallLettersShareTheBodyOfTheirLetter) {
    for (int code : {0xE1, 0xE2, 0xE3, 0xE4, 0xB1}) expect_body('a', code, 6, 12);  // á â ă ä ą
    for (int code : {0xE6, 0xE7, 0xE8}) expect_body('c', code, 6, 12);              // ć ç č
    expect_body('d', 0xEF, 4, 12, {4, 5});                                          // ď
    expect_body('d', 0xF0, 4, 12, {5});                                             // đ
    for (int code : {0xE9, 0xEA, 0xEB, 0xEC}) expect_body('e', code, 6, 12);        // é ę ë ě
    for (int code : {0xED, 0xEE}) expect_body('i', code, 6, 12);                    // í î
    expect_body('l', 0xE5, 4, 12);                                                  // ĺ
    expect_body('l', 0xB5, 4, 12, {4, 5});                                          // ľ
    expect_body('l', 0xB3, 4, 12, {7, 8, 9});                                       // ł
    for (int code : {0xF1, 0xF2}) expect_body('n', code, 6, 12);                    // ń ň
    for (int code : {0xF3, 0xF4, 0xF5, 0xF6}) expect_body('o', code, 6, 12);        // ó ô ő ö
    for (int code : {0xE0, 0xF8}) expect_body('r', code, 6, 12);                    // ŕ ř
    for (int code : {0xB6, 0xB9, 0xBA}) expect_body('s', code, 6, 12);              // ś š ş
    for (int code : {0xBB, 0xFE}) expect_body('t', code, 5, 12);                    // ť ţ
    for (int code : {0xF9, 0xFA, 0xFB, 0xFC}) expect_body('u', code, 6, 12);        // ů ú ű ü
    expect_body('y', 0xFD, 6, 15);                                                  // ý
    for (int code : {0xBC, 0xBE, 0xBF}) expect_body('z', code, 6, 12);              // ź ž ż
}

// One accent looks the same over every letter of a width, and different
// accents look different.
TEST(FontTable, EachAccentHasOneShapeAndAccentsDiffer) {
    const auto same_mark = [](int base, int letter, int model_base, int model) {
        EXPECT_EQ(mark_of(base, letter), mark_of(model_base, model))
            << name(letter) << " against " << name(model);
    };
    same_mark('O', 0xD3, 'A', 0xC1);  // Ó as Á
    same_mark('U', 0xDA, 'A', 0xC1);  // Ú
    same_mark('Y', 0xDD, 'A', 0xC1);  // Ý
    same_mark('N', 0xD2, 'Z', 0xAE);  // Ň as Ž
    same_mark('T', 0xAB, 'Z', 0xAE);  // Ť
    same_mark('O', 0xD6, 'A', 0xC4);  // Ö as Ä
    same_mark('U', 0xDC, 'A', 0xC4);  // Ü
    same_mark('U', 0xDB, 'O', 0xD5);  // Ű as Ő
    for (auto [base, code] : std::initializer_list<std::pair<int, int>>{
             {'c', 0xE6}, {'e', 0xE9}, {'n', 0xF1}, {'o', 0xF3}, {'u', 0xFA}, {'z', 0xBC}, {'s', 0xB6}})
        same_mark(base, code, 'a', 0xE1);  // the acute of á
    for (auto [base, code] : std::initializer_list<std::pair<int, int>>{
             {'e', 0xEC}, {'n', 0xF2}, {'r', 0xF8}, {'s', 0xB9}, {'z', 0xBE}})
        same_mark(base, code, 'c', 0xE8);  // the caron of č
    for (auto [base, code] :
         std::initializer_list<std::pair<int, int>>{{'e', 0xEB}, {'o', 0xF6}, {'u', 0xFC}})
        same_mark(base, code, 'a', 0xE4);  // the diaeresis of ä
    same_mark('u', 0xFB, 'o', 0xF5);       // ű as ő

    // Over one letter, no two accents look alike.
    for (const std::vector<int>& family : {std::vector<int>{0xC1, 0xC2, 0xC3, 0xC4, 0xA1},  // Á Â Ă Ä Ą
                                           std::vector<int>{0xD9, 0xDA, 0xDB, 0xDC},        // Ů Ú Ű Ü
                                           std::vector<int>{0xE1, 0xE2, 0xE3, 0xE4, 0xB1},  // á â ă ä ą
                                           std::vector<int>{0xF3, 0xF4, 0xF5, 0xF6},        // ó ô ő ö
                                           std::vector<int>{0xF9, 0xFA, 0xFB, 0xFC},        // ů ú ű ü
                                           std::vector<int>{0xBC, 0xBE, 0xBF}})             // ź ž ż
        for (std::size_t i = 0; i < family.size(); ++i)
            for (std::size_t j = i + 1; j < family.size(); ++j)
                EXPECT_FALSE(same_glyph(family[i], family[j])) << name(family[i]) << " " << name(family[j]);
}

TEST(FontTable, LookAlikesDiffer) {
    EXPECT_FALSE(same_glyph('0', 'O'));
    EXPECT_FALSE(same_glyph('l', '1'));
    EXPECT_FALSE(same_glyph('l', 'I'));
    EXPECT_FALSE(same_glyph('1', 'I'));
    EXPECT_LT(pixel_count(0xAD), pixel_count('-'));  // the soft hyphen is the shorter one
}

}  // namespace
