// Test helper: a code page as the C library (on Windows, the system) knows
// it, one character at a time, to check the library's own tables against.
#pragma once

#ifdef _WIN32
#include <windows.h>
#else
#include <iconv.h>
#endif

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace test {

#ifdef _WIN32
// Windows's own tables: "CP1250" or "ISO-8859-2".
class code_page {
public:
    explicit code_page(const char* name)
        : id_(std::string(name) == "CP1250" ? 1250 : std::string(name) == "ISO-8859-2" ? 28592 : 0) {}
    bool ok() const { return id_ != 0 && IsValidCodePage(id_); }

    // The byte of a character, if the code page holds it.
    std::optional<unsigned> byte_of(std::uint32_t code_point) const {
        if (code_point > 0xFFFF) return std::nullopt;
        const wchar_t in = static_cast<wchar_t>(code_point);
        char out[4];
        BOOL defaulted = FALSE;
        const int n = WideCharToMultiByte(id_, WC_NO_BEST_FIT_CHARS, &in, 1, out, sizeof out, nullptr, &defaulted);
        if (n != 1 || defaulted) return std::nullopt;
        return static_cast<unsigned char>(out[0]);
    }

    // The character a byte stands for, if any.
    std::optional<std::uint32_t> code_point_of(unsigned byte) const {
        const char in = static_cast<char>(byte);
        wchar_t out[2];
        if (MultiByteToWideChar(id_, MB_ERR_INVALID_CHARS, &in, 1, out, 2) != 1) return std::nullopt;
        return static_cast<std::uint32_t>(out[0]);
    }

private:
    UINT id_;
};
#else
class code_page {
public:
    explicit code_page(const char* name)
        : to_byte_(iconv_open(name, "UTF-32LE")), to_unicode_(iconv_open("UTF-32LE", name)) {}
    ~code_page() {
        if (to_byte_ != bad) iconv_close(to_byte_);
        if (to_unicode_ != bad) iconv_close(to_unicode_);
    }
    code_page(const code_page&) = delete;
    code_page& operator=(const code_page&) = delete;

    bool ok() const { return to_byte_ != bad && to_unicode_ != bad; }

    // The byte of a character, if the code page holds it.
    std::optional<unsigned> byte_of(std::uint32_t code_point) const {
        unsigned char in[4] = {static_cast<unsigned char>(code_point), static_cast<unsigned char>(code_point >> 8),
                               static_cast<unsigned char>(code_point >> 16), 0};
        unsigned char out[4];
        if (!convert(to_byte_, in, sizeof in, out, sizeof out, 1)) return std::nullopt;
        return out[0];
    }

    // The character a byte stands for, if any.
    std::optional<std::uint32_t> code_point_of(unsigned byte) const {
        unsigned char in[1] = {static_cast<unsigned char>(byte)};
        unsigned char out[4];
        if (!convert(to_unicode_, in, sizeof in, out, sizeof out, 4)) return std::nullopt;
        return out[0] | out[1] << 8 | out[2] << 16 | static_cast<std::uint32_t>(out[3]) << 24;
    }

private:
    static inline const iconv_t bad = reinterpret_cast<iconv_t>(-1);

    // True when the whole input became exactly `expected` bytes.
    static bool convert(iconv_t cd, unsigned char* in, std::size_t in_size, unsigned char* out, std::size_t out_size,
                        std::size_t expected) {
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
        char* src = reinterpret_cast<char*>(in);
        char* dst = reinterpret_cast<char*>(out);
        std::size_t src_left = in_size, dst_left = out_size;
        if (iconv(cd, &src, &src_left, &dst, &dst_left) == static_cast<std::size_t>(-1)) return false;
        return src_left == 0 && out_size - dst_left == expected;
    }

    iconv_t to_byte_;
    iconv_t to_unicode_;
};
#endif

}  // namespace test
