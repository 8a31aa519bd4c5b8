// Letters in the font's code page: UTF-8 text and typed key codes become the
// ISO 8859-2 bytes the font draws. The C library's converters are the
// reference, over whole code pages at once.
#include "keys.inc"

#include "code_page.hpp"
#include "graphics.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

using kavex::font_char;
using kavex::from_utf8;

namespace {

std::string utf8(std::uint32_t c) {
    std::string out;
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | c >> 6);
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | c >> 12);
        out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | c >> 18);
        out += static_cast<char>(0x80 | (c >> 12 & 0x3F));
        out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
    return out;
}

bool is_surrogate(std::uint32_t c) { return c >= 0xD800 && c <= 0xDFFF; }

}  // namespace

// Every character of the Basic Multilingual Plane, and a few beyond it, in one
// string: each becomes its ISO 8859-2 byte, or '?' where that code page has none.
TEST(FromUtf8, GivesEveryCharacterItsByteInTheFontOrOneReplacement) {
    const test::code_page latin2("ISO-8859-2");
    ASSERT_TRUE(latin2.ok()) << "the C library has no ISO-8859-2 converter";
    std::string text, expected;
    for (std::uint32_t c = 1; c <= 0x10FFFF; c = c < 0xFFFF ? c + 1 : c + 0x1111) {
        if (is_surrogate(c)) continue;
        text += utf8(c);
        const auto byte = latin2.byte_of(c);
        expected += byte ? static_cast<char>(*byte) : '?';
    }
    const std::string got = from_utf8(text);
    ASSERT_EQ(got.size(), expected.size());
    for (std::size_t i = 0; i < got.size(); ++i)
        if (got[i] != expected[i]) ADD_FAILURE() << "character " << i << ": got 0x" << std::hex
                                                 << (got[i] & 0xFF) << ", expected 0x" << (expected[i] & 0xFF);
}

TEST(FromUtf8, ABeginnersSentenceIsOneGlyphPerLetter) {
    const std::string czech = from_utf8("Příliš žluťoučký kůň");
    EXPECT_EQ(czech, "P\xF8\xEDli\xB9 \xBElu\xBBou\xE8k\xFD k\xF9\xF2");
    EXPECT_EQ(kavex::canvas().twidth(czech), 8 * 20);
    EXPECT_EQ(from_utf8("Zażółć gęślą jaźń"), "Za\xBF\xF3\xB3\xE6 g\xEA\xB6l\xB1 ja\xBC\xF1");
}

// Malformed input is never read past its end and gives '?' for each broken piece.
TEST(FromUtf8, MalformedInputGivesTheReplacement) {
    EXPECT_EQ(from_utf8(""), "");
    EXPECT_EQ(from_utf8("\xE9" "bred"), "?bred");               // a Latin-1 byte, not UTF-8
    EXPECT_EQ(from_utf8("ab\xC5"), "ab?");                      // cut before its second byte
    EXPECT_EQ(from_utf8("\xE2\x82"), "?");                      // cut inside a three-byte form
    EXPECT_EQ(from_utf8("\xC5x"), "?x");                        // a lead with no continuation
    EXPECT_EQ(from_utf8("\x80\xBF"), "??");                     // stray continuation bytes
    EXPECT_EQ(from_utf8("\xC0\xAF"), "??");                     // an invalid lead, then a stray byte
    EXPECT_EQ(from_utf8("\xE0\x80\xAF"), "?");                  // an overlong slash
    EXPECT_EQ(from_utf8("\xED\xA0\x80"), "?");                  // a UTF-16 surrogate
    EXPECT_EQ(from_utf8("\xF4\x90\x80\x80"), "?");              // past U+10FFFF
    EXPECT_EQ(from_utf8(std::string("a\0b", 3)), std::string("a\0b", 3));
    EXPECT_EQ(from_utf8("line\nnext"), "line\nnext");
}

// What a key press gives, through the real key mapping, is what the font
// draws for that character: for every character of the BMP that a key code
// can name without doubt (a code below 0x100 is a Windows-1250 byte, so a
// character that code page lacks but whose code point is below 0x100 has no
// code of its own).
TEST(FontChar, ATypedCharacterShowsAsTheSameLetterAsInText) {
    const test::code_page latin2("ISO-8859-2");
    const test::code_page windows("CP1250");
    ASSERT_TRUE(latin2.ok() && windows.ok());
    int checked = 0;
    for (std::uint32_t c = 0x20; c <= 0xFFFF; ++c) {
        if (is_surrogate(c) || (c >= 0x7F && c < 0xA0)) continue;
        if (c < 0x100 && windows.byte_of(c) != std::optional<unsigned>(c)) continue;
        const int key = kavex::mkkeycode(0, static_cast<unsigned short>(c));
        const auto byte = latin2.byte_of(c);
        ASSERT_EQ(font_char(key), byte ? static_cast<char>(*byte) : '?') << "U+" << std::hex << c;
        ++checked;
    }
    EXPECT_GT(checked, 60000);
    // The letters the font used to show wrong: s caron typed is 0x9A, a ogonek 0xB9.
    EXPECT_EQ(font_char(0x9A), '\xB9');
    EXPECT_EQ(font_char(0xB9), '\xB1');
    EXPECT_EQ(font_char(0x8A), '\xA9');
    EXPECT_EQ(font_char(0xA5), '\xA1');
}

TEST(FontChar, KeysThatTypeNoCharacterGiveZero) {
    for (const int key : {0, 8, 9, 13, 27, 127, -'a', -0x9A, kavex::key_left, kavex::key_f1, kavex::key_delete,
                          0x10000, 0x7FFFFFFF, -0x7FFFFFFF - 1})
        EXPECT_EQ(font_char(key), 0) << "key " << key;
    EXPECT_EQ(font_char('a'), 'a');
    EXPECT_EQ(font_char(' '), ' ');
    EXPECT_EQ(font_char(0x20AC), '?');  // the euro sign: the font has none
}
