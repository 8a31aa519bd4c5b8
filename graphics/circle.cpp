// Discs and circles around the pen, cut at the surface's edges.
//
// A disc of radius r holds the pixels whose offset (dx, dy) from the pen has
// dx^2 + dy^2 <= r^2 + r. Each row of it is one span, dx from -w to w, where
// the half-width w is the largest with w^2 <= r^2 + r - dy^2. Only the rows
// that lie on the surface are visited, and each span is cut to the surface
// before it is stored, so a radius of INT_MAX costs what the surface's rows
// cost. Everything is in 64 bits: (2^31)^2 + 2^31 is far below 2^63.
#include "graphics.hpp"
#include "pixels.hpp"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace kavex {

namespace {

// The largest s with s * s <= n, for 0 <= n <= 2^62. The square root in
// doubles is only a first guess, corrected in integers: rounding never
// decides a pixel.
std::int64_t whole_sqrt(std::int64_t n) {
    auto s = static_cast<std::int64_t>(std::sqrt(static_cast<double>(n)));
    while (s * s > n) --s;
    while ((s + 1) * (s + 1) <= n) ++s;
    return s;
}

// The rows of one disc, relative to its centre.
class disc_rows {
public:
    explicit disc_rows(std::int64_t r) : reach_(r * r + r) {}

    // Of row dy, the largest |dx| inside the disc; -1 for a row it misses.
    std::int64_t half_width(std::int64_t dy) const {
        const std::int64_t room = reach_ - dy * dy;
        return room < 0 ? -1 : whole_sqrt(room);
    }

private:
    std::int64_t reach_;
};

// Stores `color` along one row from column `from` to `to`, both included,
// cut to the surface's `width` columns.
void store_span(std::uint8_t* row, std::int64_t from, std::int64_t to, std::int64_t width, std::uint32_t color) {
    const std::int64_t first = std::max<std::int64_t>(from, 0);
    const std::int64_t last = std::min<std::int64_t>(to, width - 1);
    if (first > last) return;  // wholly beside the surface: no pointer may be made there
    std::uint8_t* p = row + 4 * first;
    for (std::int64_t n = last - first + 1; n > 0; --n, p += 4) detail::store_pixel(p, color);
}

// The rows of the surface within r of the pen's row.
struct row_range {
    std::int64_t first, last;
};

row_range rows_within(const canvas& c, std::int64_t r) {
    return {std::max<std::int64_t>(0, c.pen_y - r), std::min<std::int64_t>(c.surface->h - 1, c.pen_y + r)};
}

}  // namespace

void canvas::draw_disc(int r) {
    if (!pen_inside()) return detail::explain_no_surface("draw_disc");
    if (r < 0) return;
    detail::locked_pixels px(surface);
    if (!px) return;
    const disc_rows disc(r);
    const row_range rows = rows_within(*this, r);
    const auto value = static_cast<std::uint32_t>(color);
    for (std::int64_t y = rows.first; y <= rows.last; ++y) {
        const std::int64_t w = disc.half_width(y - pen_y);
        store_span(px.at(0, static_cast<std::int32_t>(y)), pen_x - w, pen_x + w, surface->w, value);
    }
}

// A pixel of the disc is on the outline when its left or right neighbour is
// outside (|dx| is the row's half-width) or the one above or below is (|dx|
// beyond the half-width of the row above or below). So each row draws the
// columns from the narrower neighbour's half-width on, out to its own: two
// short spans, or, where the neighbour row is missing, the whole row.
void canvas::draw_circle(int r) {
    if (!pen_inside()) return detail::explain_no_surface("draw_circle");
    if (r < 0) return;
    detail::locked_pixels px(surface);
    if (!px) return;
    const disc_rows disc(r);
    const row_range rows = rows_within(*this, r);
    const auto value = static_cast<std::uint32_t>(color);
    // The half-widths of the row above, this row and the row below, moved
    // down one row at a time so that each row needs one new root.
    std::int64_t above = disc.half_width(rows.first - 1 - pen_y);
    std::int64_t here = disc.half_width(rows.first - pen_y);
    for (std::int64_t y = rows.first; y <= rows.last; ++y) {
        const std::int64_t below = disc.half_width(y + 1 - pen_y);
        const std::int64_t inner = std::min(std::min(above, below) + 1, here);
        std::uint8_t* row = px.at(0, static_cast<std::int32_t>(y));
        if (inner == 0) {
            store_span(row, pen_x - here, pen_x + here, surface->w, value);
        } else {
            store_span(row, pen_x - here, pen_x - inner, surface->w, value);
            store_span(row, pen_x + inner, pen_x + here, surface->w, value);
        }
        above = here;
        here = below;
    }
}

}  // namespace kavex
