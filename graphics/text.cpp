// Text in the built-in 8 x 17 font: glyph row r lies on pen row - 13 + r, and
// each character moves the pen 8 pixels right.
#include "graphics.hpp"
#include "pixels.hpp"

#include <algorithm>
#include <array>
#include <climits>
#include <cstddef>
#include <cstdint>

namespace kavex {

using internal::contains;
using internal::load_pixel;
using internal::locked_pixels;
using internal::project;
using internal::store_pixel;
using internal::usable;

namespace {

#include "font.inc"

constexpr int glyph_rows = 17;
constexpr int glyph_width = 8;
constexpr int ascent = 13;
constexpr int descent = 4;
constexpr std::uint32_t full = 15;

// Blends the first `columns` columns of glyph `g` with its top-left pixel at `top_left`.
void draw_glyph(const locked_pixels& px, std::uint8_t* top_left, unsigned char g, int columns,
                std::uint32_t color) {
    const std::uint32_t* rows = &charfaces[g * glyph_rows];
    const std::uint32_t rgb = color & 0xFFFFFF;
    for (int r = 0; r < glyph_rows; ++r, top_left += px.pitch()) {
        std::uint32_t word = rows[r];
        for (int j = 0; j < columns && word != 0; ++j, word >>= 4) {
            const std::uint32_t coverage = word & 0xF;
            std::uint8_t* p = top_left + 4 * j;
            if (coverage == full) {
                store_pixel(p, (load_pixel(p) & 0xFF000000u) | rgb);
            } else if (coverage != 0) {
                project(p, color, coverage);
            }
        }
    }
}

}  // namespace

int canvas::cascent() const { return ascent; }
int canvas::cdescent() const { return descent; }

void canvas::draw_text(const std::string& text) {
    if (!usable(surface) || !contains(surface, pen_x, pen_y)) return;
    if (pen_y < ascent || pen_y + descent >= surface->h) return;
    locked_pixels px(surface);
    if (!px) return;

    const std::int32_t line_start = pen_x;
    for (const char byte : text) {
        if (byte == '\n') {
            if (pen_y + glyph_rows >= surface->h) return;  // the next line would start outside
            pen_x = line_start;
            pen_y += glyph_rows;
            continue;
        }
        if (pen_y + descent >= surface->h) return;  // a newline brought the line too low
        // Columns up to the right edge are drawn; the pen stops on the last one.
        const int columns = std::min(glyph_width, surface->w - pen_x);
        draw_glyph(px, px.at(pen_x, pen_y - ascent), static_cast<unsigned char>(byte), columns,
                   static_cast<std::uint32_t>(color));
        if (pen_x + columns >= surface->w) {
            pen_x = surface->w - 1;
            return;
        }
        pen_x += glyph_width;
    }
}

int canvas::twidth(const std::string& text) const {
    std::size_t longest = 0, current = 0;
    for (const char byte : text) {
        current = byte == '\n' ? 0 : current + 1;
        longest = std::max(longest, current);
    }
    return static_cast<int>(std::min<std::size_t>(longest, INT_MAX / glyph_width) * glyph_width);
}

}  // namespace kavex
