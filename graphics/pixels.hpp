// Private to the library: direct access to a surface's 32-bit pixels.
//
//   locked_pixels px(surface);        // locks once, if SDL says it must
//   if (!px) return;                  // no usable pixel memory: draw nothing
//   store_pixel(px.at(x, y), color);  // rows are addressed by the surface's pitch
#pragma once

#include "graphics.hpp"

#include <cstdint>
#include <cstring>

namespace kavex::detail {

// Larger surfaces do not fit SDL 1.2: rows are addressed by a 16-bit pitch
// and rectangles by 16-bit signed positions.
constexpr unsigned max_width = 0xFFFF / 4;
constexpr unsigned max_height = 0x7FFF;
constexpr bool within_size_limit(unsigned width, unsigned height) {
    return width <= max_width && height <= max_height;
}

// Holds a surface's pixel memory for one drawing operation.
class locked_pixels {
public:
    explicit locked_pixels(SDL_Surface* s) : surface_(s) {
        if (!usable(s)) return;
        if (SDL_MUSTLOCK(s)) {
            if (SDL_LockSurface(s) != 0) return;
            locked_ = true;
        }
        base_ = static_cast<std::uint8_t*>(s->pixels);
        pitch_ = s->pitch;
    }
    ~locked_pixels() {
        if (locked_) SDL_UnlockSurface(surface_);
    }
    locked_pixels(const locked_pixels&) = delete;
    locked_pixels& operator=(const locked_pixels&) = delete;

    explicit operator bool() const { return base_ != nullptr; }
    std::ptrdiff_t pitch() const { return pitch_; }
    std::uint8_t* at(std::int32_t x, std::int32_t y) const {
        return base_ + static_cast<std::ptrdiff_t>(y) * pitch_ + static_cast<std::ptrdiff_t>(x) * 4;
    }

private:
    SDL_Surface* surface_;
    std::uint8_t* base_ = nullptr;
    std::ptrdiff_t pitch_ = 0;
    bool locked_ = false;
};

// memcpy keeps the store defined whatever the alignment of a caller's pitch;
// it compiles to a single 32-bit move.
inline void store_pixel(std::uint8_t* p, std::uint32_t value) { std::memcpy(p, &value, 4); }

inline std::uint32_t load_pixel(const std::uint8_t* p) {
    std::uint32_t value;
    std::memcpy(&value, p, 4);
    return value;
}

// Blends `color` into the pixel at `p` with a coverage from 0 (the pixel stays)
// to 15 (the colour's three channels). Bits 24-31 of the pixel are kept.
inline void project(std::uint8_t* p, std::uint32_t color, std::uint32_t coverage) {
    static constexpr int c[] = {0, 8, 16};  // blue, green, red
    std::uint32_t pixel = load_pixel(p);
    for (int shift : c) {
        const std::uint32_t d = (pixel >> shift) & 0xFF;
        const std::uint32_t k = (color >> shift) & 0xFF;
        const std::uint32_t n = (d * (15 - coverage) + k * coverage) / 15;
        pixel = (pixel & ~(0xFFu << shift)) | (n << shift);
    }
    store_pixel(p, pixel);
}

}  // namespace kavex::detail
