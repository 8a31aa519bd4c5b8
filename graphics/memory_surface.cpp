// Surfaces in plain memory that the library owns (memory_surface.hpp).
#include "memory_surface.hpp"

#include "bmp.hpp"
#include "pixels.hpp"

#include <cstring>
#include <memory>
#include <new>

namespace kavex::memory_surface {

using detail::load_pixel;
using detail::locked_pixels;
using detail::store_pixel;

namespace {

// A surface and its format in one block, with its pixels after them.
struct owned_surface {
    SDL_Surface surface;
    SDL_PixelFormat format;
};

}  // namespace

SDL_Surface* create(int width, int height) {
    auto* block = new (std::nothrow) owned_surface{};
    if (!block) return nullptr;
    // Zeroed, so that a new canvas is black, as SDL's are.
    auto* pixels = new (std::nothrow) std::uint32_t[static_cast<std::size_t>(width) * height]();
    if (!pixels) {
        delete block;
        return nullptr;
    }
    SDL_PixelFormat& f = block->format;
    f.BitsPerPixel = 32;
    f.BytesPerPixel = 4;
    f.Rmask = 0xFF0000;
    f.Gmask = 0xFF00;
    f.Bmask = 0xFF;
    f.Rshift = 16;
    f.Gshift = 8;
    f.Aloss = 8;
    SDL_Surface& s = block->surface;
    s.flags = SDL_PREALLOC;
    s.format = &f;
    s.w = width;
    s.h = height;
    s.pitch = 4 * width;
    s.pixels = pixels;
    s.clip_rect = SDL_Rect{0, 0, static_cast<Uint16>(width), static_cast<Uint16>(height)};
    s.refcount = 1;
    return &s;
}

void release(SDL_Surface* s) {
    delete[] static_cast<std::uint32_t*>(s->pixels);
    delete reinterpret_cast<owned_surface*>(s);  // the surface is the block's first member
}

void fill(SDL_Surface* s, const SDL_Rect& area, std::uint32_t value) {
    locked_pixels px(s);
    if (!px) return;
    for (int y = area.y; y < area.y + area.h; ++y)
        for (std::uint8_t *p = px.at(area.x, y), *end = p + 4 * area.w; p < end; p += 4) store_pixel(p, value);
}

namespace {

// Rows of `w` pixels from `from` to `to`; keyed, the black ones stay out.
void copy_rows(const std::uint8_t* from, std::ptrdiff_t from_pitch, std::uint8_t* to, std::ptrdiff_t to_pitch,
               int w, int h, bool keyed) {
    for (int y = 0; y < h; ++y, from += from_pitch, to += to_pitch) {
        if (!keyed) {
            std::memmove(to, from, 4 * static_cast<std::size_t>(w));
            continue;
        }
        for (int x = 0; x < w; ++x) {
            const std::uint32_t value = load_pixel(from + 4 * x);
            if (value != 0) store_pixel(to + 4 * x, value);
        }
    }
}

}  // namespace

void copy(SDL_Surface* from, const SDL_Rect& from_area, SDL_Surface* to, const SDL_Rect& to_area, bool keyed) {
    locked_pixels source(from), target(to);
    if (!source || !target) return;
    const std::uint8_t* rows = source.at(from_area.x, from_area.y);
    std::ptrdiff_t pitch = source.pitch();
    // Within one surface the rectangles may overlap: the source is taken aside first.
    std::unique_ptr<std::uint8_t[]> aside;
    if (from == to) {
        aside.reset(new (std::nothrow) std::uint8_t[4 * static_cast<std::size_t>(from_area.w) * from_area.h]);
        if (!aside) return;
        copy_rows(rows, pitch, aside.get(), 4 * from_area.w, from_area.w, from_area.h, false);
        rows = aside.get();
        pitch = 4 * from_area.w;
    }
    copy_rows(rows, pitch, target.at(to_area.x, to_area.y), target.pitch(), to_area.w, to_area.h, keyed);
}

bool encode_bmp(SDL_Surface* s, sdl_side::encoded_image& out) {
    locked_pixels px(s);
    return px && detail::encode_bmp24(px.at(0, 0), px.pitch(), s->w, s->h, out);
}

// Each word turned round, once per refresh.
void to_rgba(const SDL_Surface* s, std::uint8_t* to, int to_pitch) {
    const auto* from = static_cast<const std::uint8_t*>(s->pixels);
    for (int y = 0; y < s->h; ++y) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(from + y * s->pitch);
        auto* out = reinterpret_cast<std::uint32_t*>(to + y * to_pitch);
        for (int x = 0; x < s->w; ++x) {
            const std::uint32_t v = row[x];
            out[x] = 0xFF000000u | (v & 0xFF) << 16 | (v & 0xFF00) | (v >> 16 & 0xFF);
        }
    }
}

}  // namespace kavex::memory_surface
