// Letters in the font's code page: text written in UTF-8, and typed key codes
// (Windows-1250 bytes or Unicode values), become the ISO 8859-2 bytes that
// the built-in font draws, one byte per character.
#include "explain.hpp"
#include "graphics.hpp"
#include "keys.inc"
#include "utf8.hpp"

#include <cstddef>
#include <cstdint>
#include <string>

namespace kavex {

namespace {

constexpr char replacement = '?';

// The characters of ISO 8859-2 from byte 0xA0 on; below it, a byte is the
// character of the same code point.
constexpr char32_t latin2_upper[96] = {
    0x00A0, 0x0104, 0x02D8, 0x0141, 0x00A4, 0x013D, 0x015A, 0x00A7,  // A0
    0x00A8, 0x0160, 0x015E, 0x0164, 0x0179, 0x00AD, 0x017D, 0x017B,  // A8
    0x00B0, 0x0105, 0x02DB, 0x0142, 0x00B4, 0x013E, 0x015B, 0x02C7,  // B0
    0x00B8, 0x0161, 0x015F, 0x0165, 0x017A, 0x02DD, 0x017E, 0x017C,  // B8
    0x0154, 0x00C1, 0x00C2, 0x0102, 0x00C4, 0x0139, 0x0106, 0x00C7,  // C0
    0x010C, 0x00C9, 0x0118, 0x00CB, 0x011A, 0x00CD, 0x00CE, 0x010E,  // C8
    0x0110, 0x0143, 0x0147, 0x00D3, 0x00D4, 0x0150, 0x00D6, 0x00D7,  // D0
    0x0158, 0x016E, 0x00DA, 0x0170, 0x00DC, 0x00DD, 0x0162, 0x00DF,  // D8
    0x0155, 0x00E1, 0x00E2, 0x0103, 0x00E4, 0x013A, 0x0107, 0x00E7,  // E0
    0x010D, 0x00E9, 0x0119, 0x00EB, 0x011B, 0x00ED, 0x00EE, 0x010F,  // E8
    0x0111, 0x0144, 0x0148, 0x00F3, 0x00F4, 0x0151, 0x00F6, 0x00F7,  // F0
    0x0159, 0x016F, 0x00FA, 0x0171, 0x00FC, 0x00FD, 0x0163, 0x02D9,  // F8
};

// The font's byte for a character, or the replacement when it has none.
char font_byte(char32_t c) {
    if (c < 0xA0) return static_cast<char>(c);
    for (std::size_t i = 0; i < std::size(latin2_upper); ++i)
        if (latin2_upper[i] == c) return static_cast<char>(0xA0 + i);
    return replacement;
}

// The character that a Windows-1250 byte stands for: the Unicode value of
// the table row that gives this byte, or else the byte's own code point.
char32_t from_windows_1250(int byte) {
    for (const code_pair* row = charcode_tbl; row < charcode_end; ++row)
        if (row->value == byte) return static_cast<char32_t>(row->key);
    return static_cast<char32_t>(byte);
}

bool is_control(char32_t c) { return c < 0x20 || (c >= 0x7F && c < 0xA0); }

}  // namespace

// Never longer than the text. Without memory for it, the empty string.
std::string from_utf8(const std::string& text) {
    return detail::unless_out_of_memory(
        [&] {
            std::string out;
            out.reserve(text.size());
            for (std::size_t at = 0; at < text.size();) {
                char32_t c;
                at += utf8::decode(text, at, c);
                out += c == utf8::bad ? replacement : font_byte(c);
            }
            return out;
        },
        [] { return std::string(); });
}

char font_char(int key) {
    if (key <= 0 || key > 0xFFFF) return 0;  // releases, special and function keys
    const char32_t c = key < 0x100 ? from_windows_1250(key) : static_cast<char32_t>(key);
    return is_control(c) ? 0 : font_byte(c);
}

}  // namespace kavex

namespace kavex::detail {

std::string font_to_utf8(const std::string& font_text) {
    std::string out;
    for (const char byte : font_text) {
        const auto b = static_cast<unsigned char>(byte);
        utf8::append(out, b < 0xA0 ? char32_t{b} : latin2_upper[b - 0xA0]);
    }
    return out;
}

// Lead bytes C3 to C9 begin the letters U+00C0 to U+027F (accented Latin).
bool looks_like_utf8(const std::string& font_text) {
    for (std::size_t i = 0; i + 1 < font_text.size(); ++i) {
        const auto lead = static_cast<unsigned char>(font_text[i]);
        if (lead >= 0xC3 && lead <= 0xC9 && utf8::is_continuation(static_cast<unsigned char>(font_text[i + 1])))
            return true;
    }
    return false;
}

}  // namespace kavex::detail
