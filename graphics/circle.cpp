// Discs and circles around the pen, cut at the surface's edges.
//
// A disc of radius r holds the pixels whose offset (dx, dy) from the pen has
// dx^2 + dy^2 <= r^2 + r. Each row of it is one span, dx from -w to w, where
// the half-width w is the largest with w^2 <= r^2 + r - dy^2; the rows dy
// above and below the pen share it. Only the dy for which one of the two rows
// lies on the surface are visited, and each span is cut to the surface
// before it is stored, so a radius of INT_MAX costs what the surface's rows
// cost. The pen may lie anywhere (pen_x and pen_y can be written directly),
// and the part of the disc on the surface is drawn. Everything is in 64
// bits: (2^31)^2 + 2^31 is far below 2^63.
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

// Stores one colour into mirrored rows of a surface: the rows dy above and
// below the pen, where they lie on it. A disc is symmetric about the pen's
// row, so each half-width serves two rows.
class mirrored_rows {
public:
    mirrored_rows(const canvas& c, const detail::locked_pixels& px)
        : px_(px), pen_y_(c.pen_y), width_(c.surface->w), height_(c.surface->h),
          value_(static_cast<std::uint32_t>(c.color)) {}

    // The dy from which and up to which either row lies on the surface:
    // from 0 while the pen's row is on it, else from the nearer edge.
    std::int64_t first_dy() const {
        if (pen_y_ < 0) return -pen_y_;
        if (pen_y_ >= height_) return pen_y_ - height_ + 1;
        return 0;
    }
    std::int64_t last_dy(std::int64_t r) const {
        return std::min<std::int64_t>(r, std::max<std::int64_t>(pen_y_, height_ - 1 - pen_y_));
    }

    // Columns `from` to `to`, both included and cut to the surface's width,
    // in the rows dy above and below the pen.
    void store(std::int64_t dy, std::int64_t from, std::int64_t to) const {
        const std::int64_t first = std::max<std::int64_t>(from, 0);
        const std::int64_t last = std::min<std::int64_t>(to, width_ - 1);
        if (first > last) return;  // wholly beside the surface: no pointer may be made there
        const auto x = static_cast<std::int32_t>(first);
        const auto count = static_cast<std::int32_t>(last - first + 1);
        if (on_surface(pen_y_ - dy)) fill(px_.at(x, static_cast<std::int32_t>(pen_y_ - dy)), count);
        if (dy > 0 && on_surface(pen_y_ + dy)) fill(px_.at(x, static_cast<std::int32_t>(pen_y_ + dy)), count);
    }

private:
    bool on_surface(std::int64_t y) const { return y >= 0 && y < height_; }

    void fill(std::uint8_t* p, std::int32_t count) const {
        for (; count > 0; --count, p += 4) detail::store_pixel(p, value_);
    }

    const detail::locked_pixels& px_;
    std::int64_t pen_y_, width_, height_;
    std::uint32_t value_;
};

}  // namespace

void canvas::draw_disc(int r) {
    if (!detail::usable(surface)) return detail::explain_no_surface("draw_disc");
    if (r < 0) return;
    detail::locked_pixels px(surface);
    if (!px) return;
    const disc_rows disc(r);
    const mirrored_rows rows(*this, px);
    for (std::int64_t dy = rows.first_dy(), last = rows.last_dy(r); dy <= last; ++dy) {
        const std::int64_t w = disc.half_width(dy);
        rows.store(dy, std::int64_t{pen_x} - w, std::int64_t{pen_x} + w);
    }
}

// A pixel of the disc is on the outline when its left or right neighbour is
// outside (|dx| is the row's half-width) or the one above or below is (|dx|
// beyond the half-width of the row above or below). Away from the pen's row
// the row farther out is the narrower, so each row draws its columns from
// one past that row's half-width out to its own: two short spans, or the
// whole row where the row farther out misses the disc.
void canvas::draw_circle(int r) {
    if (!detail::usable(surface)) return detail::explain_no_surface("draw_circle");
    if (r < 0) return;
    detail::locked_pixels px(surface);
    if (!px) return;
    const disc_rows disc(r);
    const mirrored_rows rows(*this, px);
    std::int64_t here = disc.half_width(rows.first_dy());
    for (std::int64_t dy = rows.first_dy(), last = rows.last_dy(r); dy <= last; ++dy) {
        const std::int64_t farther = disc.half_width(dy + 1);
        const std::int64_t inner = std::min(farther + 1, here);
        if (inner == 0) {
            rows.store(dy, pen_x - here, pen_x + here);
        } else {
            rows.store(dy, pen_x - here, pen_x - inner);
            rows.store(dy, pen_x + inner, pen_x + here);
        }
        here = farther;
    }
}

}  // namespace kavex
