// Key codes: the two lookup tables and the mapping from SDL's key symbol and
// Unicode value. The tables are private, so this test compiles its own copy.
#include "keys.inc"

#include "code_page.hpp"

#include <gtest/gtest.h>

#include <cstdint>

using kavex::charcode_end;
using kavex::charcode_tbl;
using kavex::code_pair;
using kavex::findkey;
using kavex::keysym_end;
using kavex::keysym_tbl;
using kavex::mkkeycode;

namespace {

void expect_sorted_without_zero_values(const code_pair* begin, const code_pair* end) {
    for (const code_pair* row = begin; row != end; ++row) {
        EXPECT_NE(row->value, 0) << "row " << row - begin;
        if (row != begin) {
            EXPECT_LT(row[-1].key, row->key) << "row " << row - begin;
        }
    }
}

// Every row is found, and nothing between or around the rows is.
void expect_search_finds_exactly_the_rows(const code_pair* begin, const code_pair* end) {
    for (const code_pair* row = begin; row != end; ++row) {
        EXPECT_EQ(findkey(begin, end, row->key), row->value) << "key " << row->key;
        if (row == begin || row[-1].key != row->key - 1) {
            EXPECT_EQ(findkey(begin, end, row->key - 1), 0) << "key " << row->key - 1;
        }
    }
    EXPECT_EQ(findkey(begin, end, end[-1].key + 1), 0);
    EXPECT_EQ(findkey(begin, end, -1), 0);
}

}  // namespace

TEST(KeyTables, KeysymTableHas37SortedRows) {
    EXPECT_EQ(keysym_end - keysym_tbl, 37);
    expect_sorted_without_zero_values(keysym_tbl, keysym_end);
    expect_search_finds_exactly_the_rows(keysym_tbl, keysym_end);
}

TEST(KeyTables, CharcodeTableHas74SortedRows) {
    EXPECT_EQ(charcode_end - charcode_tbl, 74);
    expect_sorted_without_zero_values(charcode_tbl, charcode_end);
    expect_search_finds_exactly_the_rows(charcode_tbl, charcode_end);
}

TEST(KeyTables, FindkeyOnAnEmptyRangeFindsNothing) {
    EXPECT_EQ(findkey(keysym_tbl, keysym_tbl, SDLK_DELETE), 0);
    EXPECT_EQ(findkey(keysym_end, keysym_end, 0), 0);
}

TEST(KeyTables, EveryCharcodeRowIsTheCodePagesByte) {
    const test::code_page page("CP1250");
    ASSERT_TRUE(page.ok()) << "the C library has no CP1250 converter";
    for (const code_pair* row = charcode_tbl; row != charcode_end; ++row) {
        EXPECT_EQ(page.byte_of(row->key), std::optional<unsigned>(row->value)) << "U+" << std::hex << row->key;
    }
}

TEST(KeyTables, EveryCodePageCharacterOffItsCodePointHasARow) {
    const test::code_page page("CP1250");
    ASSERT_TRUE(page.ok()) << "the C library has no CP1250 converter";
    int moved = 0;
    for (unsigned byte = 1; byte <= 0xFF; ++byte) {
        const auto code_point = page.code_point_of(byte);
        if (!code_point || *code_point == byte) continue;
        ++moved;
        EXPECT_EQ(findkey(charcode_tbl, charcode_end, static_cast<int>(*code_point)), static_cast<int>(byte))
            << "byte 0x" << std::hex << byte;
    }
    EXPECT_EQ(moved, 74);
}

TEST(Keycodes, KeysOfTheKeyTableWinWhateverTheyType) {
    EXPECT_EQ(mkkeycode(SDLK_LEFT, 0), kavex::key_left);
    EXPECT_EQ(mkkeycode(SDLK_LEFT, 'x'), 0x10003);
    EXPECT_EQ(mkkeycode(SDLK_F1, 0), 0x20001);
    EXPECT_EQ(mkkeycode(SDLK_F15, 0x161), 0x2000F);
    EXPECT_EQ(mkkeycode(SDLK_DELETE, 127), 0x10005);
    EXPECT_EQ(mkkeycode(SDLK_MENU, 0), kavex::key_menu);
}

TEST(Keycodes, ModifierPairsAreNumberedAsTheKeyTableSays) {
    EXPECT_EQ(mkkeycode(SDLK_LSHIFT, 0), 0x1000B);
    EXPECT_EQ(mkkeycode(SDLK_RSHIFT, 0), 0x1000A);
    EXPECT_EQ(mkkeycode(SDLK_LCTRL, 0), 0x1000C);
    EXPECT_EQ(mkkeycode(SDLK_RCTRL, 0), 0x1000D);
    EXPECT_EQ(mkkeycode(SDLK_LALT, 0), 0x1000E);
    EXPECT_EQ(mkkeycode(SDLK_RALT, 0), 0x1000F);
}

TEST(Keycodes, EveryFunctionKeyIsItsNumberAbove0x20000) {
    for (int n = 1; n <= 15; ++n)
        EXPECT_EQ(mkkeycode(static_cast<SDLKey>(SDLK_F1 + n - 1), 0), 0x20000 + n) << "F" << n;
}

TEST(Keycodes, OtherKeysAreTheCharacterTheyType) {
    EXPECT_EQ(mkkeycode(SDLK_SPACE, 32), 32);
    EXPECT_EQ(mkkeycode(SDLK_a, 97), 97);
    EXPECT_EQ(mkkeycode(SDLK_a, 'A'), 'A');
    EXPECT_EQ(mkkeycode(SDLK_RETURN, 13), 13);
    EXPECT_EQ(mkkeycode(SDLK_KP_PERIOD, ','), ',');  // the keypad types what the layout says
}

TEST(Keycodes, CharactersOfTheCodePageBecomeItsBytes) {
    EXPECT_EQ(mkkeycode(SDLK_s, 0x161), 0x9A);    // s with caron
    EXPECT_EQ(mkkeycode(SDLK_e, 0x20AC), 0x80);   // euro sign
    EXPECT_EQ(mkkeycode(SDLK_a, 0x105), 0xB9);    // a with ogonek: not ISO 8859-2's 0xB1
    EXPECT_EQ(mkkeycode(SDLK_c, 0x10D), 0xE8);    // c with caron
    EXPECT_EQ(mkkeycode(SDLK_WORLD_0, 0x2122), 0x99);  // trade mark sign
}

TEST(Keycodes, OtherCharactersPassThroughAsUnicode) {
    EXPECT_EQ(mkkeycode(SDLK_e, 0xE9), 0xE9);     // e with acute: same byte in the code page
    EXPECT_EQ(mkkeycode(SDLK_e, 0xE8), 0xE8);     // e with grave: not in it, same code as c with caron
    EXPECT_EQ(mkkeycode(SDLK_WORLD_1, 0x416), 0x416);  // a Cyrillic letter
    EXPECT_EQ(mkkeycode(SDLK_UNKNOWN, 0xFFFF), 0xFFFF);
}

TEST(Keycodes, KeysThatTypeNothingOutsideTheTableHaveNoCode) {
    EXPECT_EQ(mkkeycode(SDLK_a, 0), 0);  // a letter's release carries no character
    EXPECT_EQ(mkkeycode(SDLK_PAUSE, 0), 0);
    EXPECT_EQ(mkkeycode(SDLK_UNKNOWN, 0), 0);
}
