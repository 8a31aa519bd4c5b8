// Loading a picture file into a canvas: BMP through SDL's own reader (every
// kind the SDL underneath knows), and PNG, JPEG, GIF and TGA, and the BMPs a
// side's SDL cannot read, through stb_image.
//
// The file is read whole through the operating system's side, so that its
// name is UTF-8 everywhere; the size its header claims is checked before any
// decoding, so that a picture too large for a canvas costs nothing.
#include "explain.hpp"
#include "graphics.hpp"
#include "little_endian.hpp"
#include "load.hpp"
#include "os_side.hpp"
#include "pixels.hpp"
#include "sdl_side.hpp"

#include <climits>
#include <cstring>
#include <cstdlib>
#include <new>
#include <string>
#include <vector>

// The decoder is a header of someone else's, built here and only here.
#define STB_IMAGE_IMPLEMENTATION
#define STBI_NO_STDIO  // the bytes come from os_side, under UTF-8 names
#define STBI_NO_LINEAR
#define STBI_ONLY_PNG
#define STBI_ONLY_BMP
#define STBI_ONLY_JPEG
#define STBI_ONLY_GIF
#define STBI_ONLY_TGA
// Its asserts state its own invariants; a file's bytes must never end the
// program, so none aborts.
#define STBI_ASSERT(x) static_cast<void>(0)
#include "others_begin.inc"
#include "stb_image.h"
#include "others_end.inc"

namespace kavex {

namespace detail {

// Named, not unnamed: the Windows package compiles every source as one file.
namespace load_detail {

// SDL's memory streams and the decoder count bytes in int.
constexpr std::size_t largest_file = INT_MAX;

bool is_bmp(const std::uint8_t* bytes, std::size_t size) { return size >= 2 && bytes[0] == 'B' && bytes[1] == 'M'; }

// Read here rather than by the decoder, which knows fewer kinds of BMP than
// SDL does. A negative height means rows from the top down.
bool bmp_size(const std::uint8_t* bytes, std::size_t size, unsigned& width, unsigned& height) {
    if (size < 26) return false;
    const std::uint32_t header_size = read_le(bytes + 14, 4);
    if (header_size == 12) {  // the oldest header, with 16-bit sides
        width = read_le(bytes + 18, 2);
        height = read_le(bytes + 20, 2);
        return true;
    }
    if (header_size < 16) return false;
    const auto w = static_cast<std::int32_t>(read_le(bytes + 18, 4));
    const auto h = static_cast<std::int32_t>(read_le(bytes + 22, 4));
    if (w < 0) return false;
    width = static_cast<unsigned>(w);
    height = h < 0 ? 0u - static_cast<unsigned>(h) : static_cast<unsigned>(h);
    return true;
}

std::uint32_t read_be32(const std::uint8_t* p) {
    return std::uint32_t{p[0]} << 24 | std::uint32_t{p[1]} << 16 | std::uint32_t{p[2]} << 8 | p[3];
}

// Read here too: the decoder refuses a header of a size it would not decode
// without saying the size.
bool png_size(const std::uint8_t* bytes, std::size_t size, unsigned& width, unsigned& height) {
    static const std::uint8_t signature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n',  // IHDR's length, name
                                             0,    0,   0,   13,  'I',  'H',  'D',  'R'};
    if (size < 24 || std::memcmp(bytes, signature, sizeof signature) != 0) return false;
    width = read_be32(bytes + 16);
    height = read_be32(bytes + 20);
    return true;
}

// The decoder grows its buffer for a PNG's image data to what each chunk
// claims, doubling, before it reads the chunk: a 4 KB file that claims a
// 2 GB chunk asks for 2 GB. Every chunk must fit in the file.
bool png_chunks_fit(const std::uint8_t* bytes, std::size_t size) {
    std::size_t at = 8;  // after the signature
    while (at + 12 <= size) {
        const std::uint32_t length = read_be32(bytes + at);
        if (length > size - at - 12) return false;
        if (std::memcmp(bytes + at + 4, "IEND", 4) == 0) return true;
        at += 12 + std::size_t{length};  // length, name, data, checksum
    }
    return true;  // cut short: the decoder says so
}

int decoder_length(std::size_t size) { return static_cast<int>(size < largest_file ? size : largest_file); }

std::string not_a_picture(const std::string& why) { return words(text::not_a_picture, {{"why", why}}); }

// A message about a picture's size, `width` x `height`.
std::string with_size(text message, long long width, long long height) {
    return words(message, {{"width", width}, {"height", height}, {"most_width", max_width}, {"most_height", max_height}});
}

// Each channel weighed by its alpha: the picture as it looks on black.
std::uint32_t on_black(const std::uint8_t* rgba) {
    const std::uint32_t a = rgba[3];
    const auto weigh = [a](std::uint32_t channel) { return (channel * a + 127) / 255; };
    return weigh(rgba[0]) << 16 | weigh(rgba[1]) << 8 | weigh(rgba[2]);
}

bool store(const std::uint8_t* rgba, int width, int height, canvas& target, std::string& reason) {
    target.pen_x = width / 2;
    target.pen_y = height / 2;
    SDL_Surface* s = sdl_side::create_surface(width, height);
    locked_pixels px(s);
    if (!px) {
        reason = words(text::no_surface_made, {{"width", width}, {"height", height}, {"why", sdl_side::last_error()}});
        return false;
    }
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x, rgba += 4) store_pixel(px.at(x, y), on_black(rgba));
    target.surface = s;
    return true;
}

// A BMP as SDL reads it; false, with SDL's reason if it gave one, when it cannot.
bool decode_with_sdl(const std::uint8_t* bytes, std::size_t size, canvas& target, std::string& reason) {
    sdl_side::rgba_picture picture;
    if (!sdl_side::decode_bmp(bytes, size, picture, reason)) return false;
    if (!within_size_limit(picture.width, picture.height)) {
        reason = with_size(text::sdl_read_size, picture.width, picture.height);
        return false;
    }
    return store(picture.bytes.get(), picture.width, picture.height, target, reason);
}

// What the BMP header says beyond the size, where the fields exist.
struct bmp_layout {
    std::uint32_t pixels_at = 0;     // where the pixel data begins
    std::uint32_t header_size = 0;
    std::uint32_t bits = 0;          // per pixel
    std::uint32_t compression = 0;   // 0 none, 1 RLE8, 2 RLE4, 3 bit fields
    std::uint32_t colors_used = 0;
};

bmp_layout layout_of(const std::uint8_t* bytes, std::size_t size) {
    bmp_layout b;
    if (size < 30) return b;
    b.pixels_at = read_le(bytes + 10, 4);
    b.header_size = read_le(bytes + 14, 4);
    b.bits = b.header_size == 12 ? read_le(bytes + 24, 2) : read_le(bytes + 28, 2);
    if (b.header_size >= 40 && size >= 50) {
        b.compression = read_le(bytes + 30, 4);
        b.colors_used = read_le(bytes + 46, 4);
    }
    return b;
}

// Uncompressed rows that the file does not hold: a decoder would make them
// up as black, and a picture cut short is no picture.
bool rows_missing(const std::uint8_t* bytes, std::size_t size, unsigned width, unsigned height) {
    const bmp_layout b = layout_of(bytes, size);
    if (b.compression != 0 && b.compression != 3) return false;
    const std::uint64_t row_bytes = (std::uint64_t{width} * b.bits + 31) / 32 * 4;
    return b.pixels_at > size || row_bytes * height > size - b.pixels_at;
}

struct decoder_pixels {
    stbi_uc* bytes = nullptr;
    ~decoder_pixels() { stbi_image_free(bytes); }
};

bool decode_with_stb(const std::uint8_t* bytes, std::size_t size, canvas& target, std::string& reason) {
    int width = 0, height = 0, channels = 0;
    decoder_pixels pixels;
    pixels.bytes = stbi_load_from_memory(bytes, decoder_length(size), &width, &height, &channels, 4);
    if (!pixels.bytes) {
        reason = not_a_picture(stbi_failure_reason());
        return false;
    }
    if (width <= 0 || height <= 0 || !within_size_limit(width, height)) {
        reason = not_a_picture(with_size(text::decoder_size, width, height));
        return false;
    }
    return store(pixels.bytes, width, height, target, reason);
}

}  // namespace load_detail

bool picture_size(const std::uint8_t* bytes, std::size_t size, unsigned& width, unsigned& height) {
    using namespace load_detail;
    if (is_bmp(bytes, size)) return bmp_size(bytes, size, width, height);
    if (png_size(bytes, size, width, height)) return true;
    int w = 0, h = 0, channels = 0;
    if (!stbi_info_from_memory(bytes, decoder_length(size), &w, &h, &channels) || w < 0 || h < 0)
        return false;
    width = static_cast<unsigned>(w);
    height = static_cast<unsigned>(h);
    return true;
}

bool decode_picture(const std::uint8_t* bytes, std::size_t size, canvas& target, std::string& reason) {
    using namespace load_detail;
    target.surface = nullptr;
    target.pen_x = target.pen_y = 0;
    unsigned width = 0, height = 0;
    if (!picture_size(bytes, size, width, height)) {
        const std::string why = is_bmp(bytes, size) ? words(text::picture_header_broken) : stbi_failure_reason();
        // The decoder's words for a header whose size it would not take.
        reason = why == "too large" ? with_size(text::picture_larger_than_canvas, 0, 0) : not_a_picture(why);
        return false;
    }
    target.pen_x = static_cast<std::int32_t>(width / 2);
    target.pen_y = static_cast<std::int32_t>(height / 2);
    if (width == 0 || height == 0) {
        reason = not_a_picture(with_size(text::picture_claims, width, height));
        return false;
    }
    if (!within_size_limit(width, height)) {
        reason = with_size(text::picture_too_large, width, height);
        return false;
    }
    if (size > largest_file) {
        reason = words(text::file_too_long, {{"bytes", static_cast<long long>(largest_file)}});
        return false;
    }
    if (png_size(bytes, size, width, height) && !png_chunks_fit(bytes, size)) {
        reason = not_a_picture(words(text::png_part_too_long));
        return false;
    }
    if (!is_bmp(bytes, size)) return decode_with_stb(bytes, size, target, reason);
    if (rows_missing(bytes, size, width, height)) {
        reason = not_a_picture(words(text::picture_cut_short));
        return false;
    }
    std::string sdl_reason;
    if (decode_with_sdl(bytes, size, target, sdl_reason)) return true;
    if (decode_with_stb(bytes, size, target, reason)) return true;
    if (!sdl_reason.empty()) reason = not_a_picture(sdl_reason);
    return false;
}

}  // namespace detail

namespace {

bool failed_load(canvas& c, const std::string& name, const std::string& reason) {
    c.surface = nullptr;
    detail::explain(detail::mistake::load_failed,
                    [&] { return detail::words(detail::text::load_failed, {{"file", name}, {"why", reason}}); });
    return false;
}

bool refused_on_window(const std::string& name) {
    detail::explain(detail::mistake::load_failed,
                    [&] { return detail::words(detail::text::load_on_window, {{"file", name}}); });
    return false;
}

}  // namespace

bool canvas::load(const std::string& name) {
    if (this == &groutput::instance()) return refused_on_window(name);
    surface = nullptr;
    pen_x = pen_y = 0;
    return detail::unless_out_of_memory(
        [&] {
            std::vector<std::uint8_t> bytes;
            std::string reason;
            if (!os_side::read_file(name, detail::load_detail::largest_file, bytes, reason))
                return failed_load(*this, name, detail::words(detail::text::file_unreadable, {{"why", reason}}));
            if (!detail::decode_picture(bytes.data(), bytes.size(), *this, reason))
                return failed_load(*this, name, reason);
            return true;
        },
        [&] { return failed_load(*this, name, detail::words(detail::text::no_memory)); });
}

}  // namespace kavex
