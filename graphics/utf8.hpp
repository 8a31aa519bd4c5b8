// Private to the library (and to kavex-check): one character of UTF-8, read
// or written. The font's text (charset.cpp) and a transcript's typed
// characters (transcript.cpp) are read and written with these.
//
//   char32_t c;
//   at += utf8::decode(text, at, c);   // c == utf8::bad for a malformed sequence
//   utf8::append(out, c);
#pragma once

#include <cstddef>
#include <string>

namespace kavex::utf8 {

inline bool is_continuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

// What a malformed sequence decodes to: no character has this value.
constexpr char32_t bad = 0xFFFFFFFF;

// Decodes the character at text[at]; returns how many bytes it took (at
// least 1, never past the end). A malformed sequence gives `bad` and takes
// its lead byte with the continuation bytes that fitted it.
inline std::size_t decode(const std::string& text, std::size_t at, char32_t& c) {
    const auto lead = static_cast<unsigned char>(text[at]);
    c = bad;
    if (lead < 0x80) {
        c = lead;
        return 1;
    }
    std::size_t length;
    char32_t value, least;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, value = lead & 0x1F, least = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, value = lead & 0x0F, least = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, value = lead & 0x07, least = 0x10000;
    } else {
        return 1;  // a stray continuation byte, or a lead no character has
    }
    std::size_t taken = 1;
    for (; taken < length; ++taken) {
        if (at + taken >= text.size()) return taken;
        const auto byte = static_cast<unsigned char>(text[at + taken]);
        if (!is_continuation(byte)) return taken;
        value = (value << 6) | (byte & 0x3F);
    }
    // Overlong forms, UTF-16 surrogates and values past U+10FFFF are no characters.
    if (value >= least && value <= 0x10FFFF && !(value >= 0xD800 && value <= 0xDFFF)) c = value;
    return taken;
}

// Appends a character of U+0000 to U+FFFF, all that the font and SDL 1.2's
// typed characters hold.
inline void append(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

}  // namespace kavex::utf8
