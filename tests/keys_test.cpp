// Key codes: the two lookup tables and the mapping from SDL's key symbol and
// Unicode value. The tables are private, so this test compiles its own copy.
#include "keys.inc"

#include <gtest/gtest.h>

#include <iconv.h>

#include <cstdint>
#include <optional>

using kavex::charcode_end;
using kavex::charcode_tbl;
using kavex::code_pair;
using kavex::findkey;
using kavex::keysym_end;
using kavex::keysym_tbl;
using kavex::mkkeycode;

namespace {

// Windows code page 1250 as the C library knows it, one character at a time.
class cp1250 {
public:
    cp1250()
        : to_byte_(iconv_open("CP1250", "UTF-32LE")), to_unicode_(iconv_open("UTF-32LE", "CP1250")) {}
    ~cp1250() {
        if (ok()) {
            iconv_close(to_byte_);
            iconv_close(to_unicode_);
        }
    }
    bool ok() const { return to_byte_ != bad && to_unicode_ != bad; }

    std::optional<unsigned> byte_of(std::uint32_t code_point) const {
        unsigned char in[4] = {static_cast<unsigned char>(code_point), static_cast<unsigned char>(code_point >> 8),
                               static_cast<unsigned char>(code_point >> 16), 0};
        unsigned char out[4];
        if (!convert(to_byte_, in, sizeof in, out, sizeof out, 1)) return std::nullopt;
        return out[0];
    }

    std::optional<std::uint32_t> code_point_of(unsigned byte) const {
        unsigned char in[1] = {static_cast<unsigned char>(byte)};
        unsigned char out[4];
        if (!convert(to_unicode_, in, sizeof in, out, sizeof out, 4)) return std::nullopt;
        return out[0] | out[1] << 8 | out[2] << 16 | static_cast<std::uint32_t>(out[3]) << 24;
    }

private:
    static inline const iconv_t bad = reinterpret_cast<iconv_t>(-1);

    // True when the whole input became exactly `expected` bytes.
    static bool convert(iconv_t cd, unsigned char* in, size_t in_size, unsigned char* out, size_t out_size,
                        size_t expected) {
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
        char* src = reinterpret_cast<char*>(in);
        char* dst = reinterpret_cast<char*>(out);
        size_t src_left = in_size, dst_left = out_size;
        if (iconv(cd, &src, &src_left, &dst, &dst_left) == static_cast<size_t>(-1)) return false;
        return src_left == 0 && out_size - dst_left == expected;
    }

    iconv_t to_byte_;
    iconv_t to_unicode_;
};

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
    const cp1250 page;
    ASSERT_TRUE(page.ok()) << "the C library has no CP1250 converter";
    for (const code_pair* row = charcode_tbl; row != charcode_end; ++row) {
        EXPECT_EQ(page.byte_of(row->key), std::optional<unsigned>(row->value)) << "U+" << std::hex << row->key;
    }
}

TEST(KeyTables, EveryCodePageCharacterOffItsCodePointHasARow) {
    const cp1250 page;
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
