// Rectangle copies between canvases, leaving out a transparent source's black.
#include "explain.hpp"
#include "graphics.hpp"
#include "pixels.hpp"
#include "sdl_side.hpp"

#include <cstdint>

namespace kavex {

using detail::usable;

namespace {

// A rectangle in 64 bits, so that no argument near the ends of int wraps.
struct area {
    std::int64_t x, y, w, h;
};

bool lies_within(const area& r, const SDL_Surface* s) {
    return r.x >= 0 && r.y >= 0 && r.x + r.w <= s->w && r.y + r.h <= s->h;
}

// Cuts `from` down to the part inside `bounds` and moves `to` along with its
// top-left corner: the clipping that SDL's blit does, done before any value
// has to fit SDL_Rect's 16-bit fields.
void clip(area& from, area& to, const SDL_Surface* bounds) {
    if (from.x < 0) {
        from.w += from.x;
        to.x -= from.x;
        from.x = 0;
    }
    if (from.y < 0) {
        from.h += from.y;
        to.y -= from.y;
        from.y = 0;
    }
    if (from.x + from.w > bounds->w) from.w = bounds->w - from.x;
    if (from.y + from.h > bounds->h) from.h = bounds->h - from.y;
    to.w = from.w;
    to.h = from.h;
}

// Only called on clipped rectangles, which lie inside a surface.
SDL_Rect rect_of(const area& r) {
    SDL_Rect rect;
    rect.x = static_cast<Sint16>(r.x);
    rect.y = static_cast<Sint16>(r.y);
    rect.w = static_cast<Uint16>(r.w);
    rect.h = static_cast<Uint16>(r.h);
    return rect;
}

bool fits_rect(const area& r) {
    return r.x <= INT16_MAX && r.y <= INT16_MAX && r.w <= UINT16_MAX && r.h <= UINT16_MAX;
}

}  // namespace

void canvas::blitfrom(const canvas& source, int sx, int sy, int w, int h, int dx, int dy) {
    SDL_Surface* const from_surface = source.surface;
    if (!usable(surface)) return detail::explain_no_surface("blitfrom");
    if (!usable(from_surface)) return detail::explain_no_surface_of(detail::text::no_surface_source);

    area from{sx == -1 ? 0 : sx, sy == -1 ? 0 : sy, w == -1 ? from_surface->w : w,
              h == -1 ? from_surface->h : h};
    area to{dx, dy, from.w, from.h};

    // A rectangle that touches the far edge still lies within: the whole-surface
    // copy is the commonest transparent one.
    const bool keyed = source.transparent && lies_within(from, from_surface) && lies_within(to, surface);

    clip(from, to, from_surface);
    clip(to, from, surface);
    if (from.w <= 0 || from.h <= 0 || !fits_rect(from) || !fits_rect(to)) return;

    sdl_side::copy(from_surface, rect_of(from), surface, rect_of(to), keyed);
}

void canvas::blitfrom(const canvas& source, int dx, int dy) { blitfrom(source, -1, -1, -1, -1, dx, dy); }

}  // namespace kavex
