// Test helpers: read pixels back from a surface as a user's eye would.
#pragma once

#include "graphics.hpp"

#include <cstdint>
#include <cstring>
#include <set>
#include <utility>
#include <vector>

namespace test {

using point = std::pair<int, int>;
using point_set = std::set<point>;

inline std::uint32_t pixel_at(const SDL_Surface* s, int x, int y) {
    std::uint32_t value;
    std::memcpy(&value, static_cast<const std::uint8_t*>(s->pixels) + y * s->pitch + x * 4, 4);
    return value;
}

// Every pixel of the canvas, row by row.
inline std::vector<std::uint32_t> pixels_of(const kavex::canvas& c) {
    std::vector<std::uint32_t> out;
    for (int y = 0; y < c.surface->h; ++y)
        for (int x = 0; x < c.surface->w; ++x) out.push_back(pixel_at(c.surface, x, y));
    return out;
}

inline void fill(SDL_Surface* s, std::uint32_t value) {
    for (int y = 0; y < s->h; ++y)
        for (int x = 0; x < s->w; ++x)
            std::memcpy(static_cast<std::uint8_t*>(s->pixels) + y * s->pitch + x * 4, &value, 4);
}

// Every pixel that differs from `background`.
inline point_set changed(const SDL_Surface* s, std::uint32_t background = 0) {
    point_set out;
    for (int y = 0; y < s->h; ++y)
        for (int x = 0; x < s->w; ++x)
            if (pixel_at(s, x, y) != background) out.insert({x, y});
    return out;
}

inline point pen(const kavex::canvas& c) { return {c.pen_x, c.pen_y}; }

// A black canvas of that size with the pen at (x, y).
inline kavex::canvas blank(int w = 40, int h = 30, int x = 10, int y = 10) {
    kavex::canvas c(w, h);
    fill(c.surface, 0);
    c.pen_x = x;
    c.pen_y = y;
    return c;
}

}  // namespace test
