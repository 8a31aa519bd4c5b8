// Private to the library: a 24-bit BMP encoder for an SDL side whose SDL has
// no BMP writer. It writes the bytes that SDL 1.2's writer gives for a
// canvas: a 14-byte file header, a 40-byte information header, and the rows
// bottom up as blue, green, red, each padded with zeros to four bytes.
#pragma once

#include "sdl_side.hpp"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <new>

namespace kavex::detail {

namespace bmp_detail {

inline void put_le(std::uint8_t*& p, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) *p++ = static_cast<std::uint8_t>(value >> (8 * i));
}

}  // namespace bmp_detail

// `pixels` holds `height` rows of `width` 0x00RRGGBB words, `pitch` bytes
// apart. False when the file would not fit a BMP's 32-bit sizes or memory.
inline bool encode_bmp24(const std::uint8_t* pixels, std::ptrdiff_t pitch, int width, int height,
                         sdl_side::encoded_image& out) {
    using bmp_detail::put_le;
    constexpr std::uint32_t header_size = 14 + 40;
    if (width <= 0 || height <= 0) return false;
    // In 64 bits, which hold the product of any two int sides.
    const std::uint64_t row_bytes = (3 * static_cast<std::uint64_t>(width) + 3) & ~std::uint64_t{3};
    const std::uint64_t image_size = row_bytes * static_cast<std::uint64_t>(height);
    if (image_size > 0xFFFFFFFFu - header_size || image_size + header_size > SIZE_MAX) return false;
    const auto size = static_cast<std::size_t>(header_size + image_size);
    out.bytes.reset(new (std::nothrow) std::uint8_t[size]);
    if (!out.bytes) return false;
    out.size = size;

    std::uint8_t* p = out.bytes.get();
    *p++ = 'B';
    *p++ = 'M';
    put_le(p, static_cast<std::uint32_t>(size), 4);
    put_le(p, 0, 4);  // reserved
    put_le(p, header_size, 4);
    put_le(p, 40, 4);
    put_le(p, static_cast<std::uint32_t>(width), 4);
    put_le(p, static_cast<std::uint32_t>(height), 4);  // positive: bottom row first
    put_le(p, 1, 2);                                   // planes
    put_le(p, 24, 2);                                  // bits per pixel
    put_le(p, 0, 4);                                   // no compression
    put_le(p, static_cast<std::uint32_t>(image_size), 4);
    std::memset(p, 0, 16);  // resolution and palette fields: none
    p += 16;
    for (int y = height - 1; y >= 0; --y) {
        const std::uint8_t* row = pixels + y * pitch;
        std::uint8_t* end = p + static_cast<std::size_t>(row_bytes);
        for (int x = 0; x < width; ++x) {
            std::uint32_t value;
            std::memcpy(&value, row + 4 * x, 4);
            put_le(p, value & 0xFFFFFF, 3);
        }
        while (p < end) *p++ = 0;
    }
    return true;
}

}  // namespace kavex::detail
