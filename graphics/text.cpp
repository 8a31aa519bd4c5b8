// Text in the built-in font (font.hpp gives its cell and where a glyph lies
// from the pen).
#include "explain.hpp"
#include "font.hpp"
#include "graphics.hpp"
#include "pixels.hpp"

#include <algorithm>
#include <array>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace kavex {

using detail::ascent;
using detail::charfaces;
using detail::contains;
using detail::descent;
using detail::glyph_rows;
using detail::glyph_width;
using detail::load_pixel;
using detail::locked_pixels;
using detail::project;
using detail::quoted;
using detail::store_pixel;
using detail::usable;

namespace {

constexpr std::uint32_t full = 15;

// Blends one glyph pixel of that coverage into the pixel at `p`.
void blend_pixel(std::uint8_t* p, std::uint32_t coverage, std::uint32_t color) {
    if (coverage == full) {
        store_pixel(p, (load_pixel(p) & 0xFF000000u) | (color & 0xFFFFFF));
    } else if (coverage != 0) {
        project(p, color, coverage);
    }
}

// Blends the first `columns` pixels of one glyph row word into the row at `p`.
void blend_row(std::uint8_t* p, std::uint32_t word, int columns, std::uint32_t color) {
    for (int j = 0; j < columns && word != 0; ++j, word >>= 4, p += 4) blend_pixel(p, word & 0xF, color);
}

// What a glyph row asks of the drawing: bit j of `full` is set where column j
// has full coverage, and `partial` where some column blends (1 to 14).
struct row_kind {
    std::uint8_t full;
    bool partial;
};

constexpr std::array<row_kind, charfaces.size()> classify_rows() {
    std::array<row_kind, charfaces.size()> kinds{};
    for (std::size_t i = 0; i < charfaces.size(); ++i) {
        for (int j = 0; j < glyph_width; ++j) {
            const std::uint32_t coverage = (charfaces[i] >> (4 * j)) & 0xF;
            if (coverage == full) kinds[i].full |= static_cast<std::uint8_t>(1u << j);
            if (coverage != full && coverage != 0) kinds[i].partial = true;
        }
    }
    return kinds;
}

constexpr std::array<row_kind, charfaces.size()> row_kinds = classify_rows();

// For each set of four columns, the bits that a full-coverage store replaces
// in each of the four pixels: the colour channels, never bits 24-31.
using four_masks = std::array<std::uint32_t, 4>;

constexpr std::array<four_masks, 16> make_channel_masks() {
    std::array<four_masks, 16> masks{};
    for (unsigned set = 0; set < 16; ++set)
        for (unsigned lane = 0; lane < 4; ++lane) masks[set][lane] = (set >> lane) & 1 ? 0x00FFFFFFu : 0;
    return masks;
}

constexpr std::array<four_masks, 16> channel_masks = make_channel_masks();

// Four pixels at once: the masked channels take the colour, the rest stays.
// Pixels outside the glyph are written back unchanged, and the fixed shape
// lets the compiler use vector registers.
void fill_four(std::uint8_t* p, const four_masks& mask, std::uint32_t rgb) {
    std::uint32_t pixels[4];
    std::memcpy(pixels, p, sizeof pixels);
    for (int lane = 0; lane < 4; ++lane) pixels[lane] = (pixels[lane] & ~mask[lane]) | (rgb & mask[lane]);
    std::memcpy(p, pixels, sizeof pixels);
}

// Blends the first `columns` columns of glyph `g` with its top-left pixel at
// `top_left`. A whole glyph of full and blank pixels, the only kinds the
// built-in font has, goes four pixels at a time; the rest pixel by pixel.
void draw_glyph(const locked_pixels& px, std::uint8_t* top_left, unsigned char g, int columns,
                std::uint32_t color) {
    const std::size_t first = std::size_t{g} * glyph_rows;
    const std::uint32_t rgb = color & 0xFFFFFF;
    for (int r = 0; r < glyph_rows; ++r, top_left += px.pitch()) {
        const row_kind kind = row_kinds[first + r];
        if (kind.partial || columns < glyph_width) {
            blend_row(top_left, charfaces[first + r], columns, color);
        } else if (kind.full != 0) {
            fill_four(top_left, channel_masks[kind.full & 0xF], rgb);
            fill_four(top_left + 16, channel_masks[kind.full >> 4], rgb);
        }
    }
}

// Glyph `g` with each of its pixels an n x n block, its first `columns`
// pixel columns only. Large text is rare and short, so it goes pixel by pixel.
void draw_scaled_glyph(const locked_pixels& px, std::uint8_t* top_left, unsigned char g, int columns, int n,
                       std::uint32_t color) {
    const std::size_t first = std::size_t{g} * glyph_rows;
    for (int r = 0; r < glyph_rows * n; ++r, top_left += px.pitch()) {
        const std::uint32_t word = charfaces[first + r / n];
        if (word == 0) continue;
        std::uint8_t* p = top_left;
        for (int j = 0; j < columns; ++j, p += 4) blend_pixel(p, (word >> (4 * (j / n))) & 0xF, color);
    }
}

// The font's cell at a text scale.
struct cell {
    int width, rows, up, down;  // pen step, line step, rows above the pen row, the pen row and below
    explicit cell(int n) : width(glyph_width * n), rows(glyph_rows * n), up(ascent * n), down(descent * n) {}
};

void explain_text_not_drawn(const std::string& text, int pen_y, int height, const cell& c) {
    detail::explain(detail::mistake::text_not_drawn, [&] {
        return detail::words(detail::text::text_not_drawn, {{"text", quoted(text)}, {"row", pen_y}, {"top", pen_y - c.up},
                                            {"bottom", pen_y + c.down}, {"last_row", height - 1}, {"above", c.up},
                                            {"below", c.down + 1}});
    });
}

enum class edge { right, bottom };

void explain_if_utf8(const std::string& text) {
    if (!detail::looks_like_utf8(text)) return;
    detail::explain(detail::mistake::text_utf8, [&] {
        return detail::words(detail::text::text_utf8, {{"text", quoted(text)}});
    });
}

void explain_text_cut(const std::string& text, edge where, const SDL_Surface* s, const cell& c) {
    detail::explain(detail::mistake::text_cut, [&] {
        if (where == edge::right)
            return detail::words(detail::text::text_cut_right, {{"text", quoted(text)}, {"width", s->w}, {"letter", c.width}});
        return detail::words(detail::text::text_cut_bottom, {{"text", quoted(text)}, {"height", s->h}, {"line", c.rows}});
    });
}

}  // namespace

int canvas::cascent() const { return ascent * text_scale_; }
int canvas::cdescent() const { return descent * text_scale_; }

void canvas::set_text_scale(int n) { text_scale_ = std::clamp(n, 1, 8); }

void canvas::draw_text(const std::string& text) {
    if (!usable(surface) || !contains(surface, pen_x, pen_y)) return detail::explain_no_surface("draw_text");
    const cell c(text_scale_);
    if (pen_y < c.up || pen_y + c.down >= surface->h) {
        if (!text.empty()) explain_text_not_drawn(text, pen_y, surface->h, c);
        return;
    }
    if (detail::explaining_on()) explain_if_utf8(text);
    locked_pixels px(surface);
    if (!px) return;

    const std::int32_t line_start = pen_x;
    for (const char& byte : text) {
        if (byte == '\n') {
            if (pen_y + c.rows >= surface->h) {  // the next line would start outside
                if (&byte != &text.back()) explain_text_cut(text, edge::bottom, surface, c);
                return;
            }
            pen_x = line_start;
            pen_y += c.rows;
            continue;
        }
        if (pen_y + c.down >= surface->h) {  // a newline brought the line too low
            explain_text_cut(text, edge::bottom, surface, c);
            return;
        }
        // Columns up to the right edge are drawn; the pen stops on the last one.
        const int columns = std::min(c.width, surface->w - pen_x);
        const auto glyph = static_cast<unsigned char>(byte);
        std::uint8_t* top_left = px.at(pen_x, pen_y - c.up);
        if (text_scale_ == 1)
            draw_glyph(px, top_left, glyph, columns, static_cast<std::uint32_t>(color));
        else
            draw_scaled_glyph(px, top_left, glyph, columns, text_scale_, static_cast<std::uint32_t>(color));
        if (pen_x + columns >= surface->w) {
            pen_x = surface->w - 1;
            if (columns < c.width || &byte != &text.back())
                explain_text_cut(text, edge::right, surface, c);
            return;
        }
        pen_x += c.width;
    }
}

int canvas::twidth(const std::string& text) const {
    std::size_t longest = 0, current = 0;
    for (const char byte : text) {
        current = byte == '\n' ? 0 : current + 1;
        longest = std::max(longest, current);
    }
    const int width = glyph_width * text_scale_;
    return static_cast<int>(std::min<std::size_t>(longest, INT_MAX / width) * width);
}

}  // namespace kavex
