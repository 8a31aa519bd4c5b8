// Dots, lines, boxes, discs, circles and text: kavex through the drawing command stream,
// beside the limit (plain stores, no checks) and SDL_gfx.
#include "bench.hpp"
#include "font.hpp"

#include <SDL/SDL_gfxPrimitives.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace bench {
namespace {

using kavex::box_rel;
using kavex::circle;
using kavex::disc;
using kavex::dot;
using kavex::line_abs;
using kavex::move_abs;

// The same cases in every run: positions from a fixed seed.
std::mt19937& random_source() {
    static std::mt19937 rng(20240607);
    return rng;
}

// A whole number in [low, high].
int between(int low, int high) {
    return low + static_cast<int>(random_source()() % static_cast<unsigned>(high - low + 1));
}

// Registers kavex, the limit and SDL_gfx drawing the same cases. kavex's run
// first checks that the limit stores exactly kavex's pixels.
template <class K, class L, class P>
void add_trio(const workload& w, const size& z, double units, double peer_units, K kavex_draw,
              L limit_draw, P peer_draw) {
    add_kavex(w, z, units, kavex_draw, limit_draw);
    const auto plain = [z](auto draw) {
        return [=](benchmark::State& st) {
            scratch s(z);
            for (auto _ : st) {
                draw(s);
                benchmark::ClobberMemory();
            }
        };
    };
    add(w, subject::limit, z, units, plain(limit_draw));
    add(w, subject::peer, z, peer_units, plain(peer_draw));
}

// ---------------------------------------------------------------------------
// Dots at random positions: move_abs then dot.

struct point {
    int x, y;
};

void register_dots(const size& z) {
    static const workload w{"dot", "dot at a random position", "pixel", 1.3, 0, 2.0};
    std::vector<point> cases(16384);
    for (auto& p : cases) p = {between(0, z.w - 1), between(0, z.h - 1)};

    const auto kavex_draw = [cases](scratch& s) {
        for (const point& p : cases) s.c << move_abs(p.x, p.y) << dot;
    };
    const auto limit_draw = [cases](scratch& s) {
        for (const point& p : cases) store(s.at(p.x, p.y), white);
    };
    const auto peer_draw = [cases](scratch& s) {
        for (const point& p : cases) pixelColor(s.surface(), Sint16(p.x), Sint16(p.y), gfx_white);
    };
    add_trio(w, z, double(cases.size()), double(cases.size()), kavex_draw, limit_draw, peer_draw);
}

// Four million dots, far more than the caches hold: the pixel stores miss as
// they do in a plotting program, and the cost of the checks shows against
// memory, not against a loop that stays in the cache.
constexpr std::size_t many_dots = 4'000'000;

void register_many_int_dots(const size& z) {
    static const workload w{"dot-4m-int", "4,000,000 dots at random int positions", "pixel", 1.3, 0, 2.0};
    auto cases = std::make_shared<std::vector<point>>(many_dots);
    for (auto& p : *cases) p = {between(0, z.w - 1), between(0, z.h - 1)};

    const auto kavex_draw = [cases](scratch& s) {
        for (const point& p : *cases) s.c << move_abs(p.x, p.y) << dot;
    };
    const auto limit_draw = [cases](scratch& s) {
        for (const point& p : *cases) store(s.at(p.x, p.y), white);
    };
    const auto peer_draw = [cases](scratch& s) {
        for (const point& p : *cases) pixelColor(s.surface(), Sint16(p.x), Sint16(p.y), gfx_white);
    };
    add_trio(w, z, double(many_dots), double(many_dots), kavex_draw, limit_draw, peer_draw);
}

// As dotsnow passes them: doubles with a fraction, truncated to a pixel.
struct position {
    double x, y;
};

void register_many_double_dots(const size& z) {
    static const workload w{"dot-4m-double", "4,000,000 dots at random double positions", "pixel", 1.3, 0, 2.0};
    auto cases = std::make_shared<std::vector<position>>(many_dots);
    for (auto& p : *cases) p = {between(0, 100 * z.w - 1) / 100.0, between(0, 100 * z.h - 1) / 100.0};

    const auto kavex_draw = [cases](scratch& s) {
        for (const position& p : *cases) s.c << move_abs(p.x, p.y) << dot;
    };
    const auto limit_draw = [cases](scratch& s) {
        for (const position& p : *cases) store(s.at(int(p.x), int(p.y)), white);
    };
    const auto peer_draw = [cases](scratch& s) {
        for (const position& p : *cases) pixelColor(s.surface(), Sint16(p.x), Sint16(p.y), gfx_white);
    };
    add_trio(w, z, double(many_dots), double(many_dots), kavex_draw, limit_draw, peer_draw);
}

// ---------------------------------------------------------------------------
// Lines: move_abs to the start, line_abs to the end.

struct line_case {
    int x1, y1, x2, y2;
    int steps;  // steps that stay inside: the line draws steps + 1 pixels
};

// The walk with a bounds check at every step, counting the steps inside.
int inside_steps(const size& z, const line_case& l) {
    const int dx = l.x2 - l.x1, dy = l.y2 - l.y1;
    const int sx = dx > 0 ? 1 : -1, sy = dy > 0 ? 1 : -1;
    const int adx = std::abs(dx), ady = std::abs(dy);
    const bool x_major = adx >= ady;
    const int major = x_major ? adx : ady, minor = x_major ? ady : adx;
    int x = l.x1, y = l.y1, error = 0, k = 0;
    for (; k < major; ++k) {
        error += minor;
        const bool diagonal = error >= major;
        if (diagonal) error -= major;
        const int nx = x + (x_major || diagonal ? sx : 0);
        const int ny = y + (!x_major || diagonal ? sy : 0);
        if (nx < 0 || ny < 0 || nx >= z.w || ny >= z.h) break;
        x = nx;
        y = ny;
    }
    return k;
}

// The limit for a line: the same integer walk, for the steps that stay
// inside, with no check at all.
void plain_walk(scratch& s, const line_case& l) {
    const int dx = l.x2 - l.x1, dy = l.y2 - l.y1;
    const int sx = dx > 0 ? 1 : -1, sy = dy > 0 ? 1 : -1;
    const int adx = std::abs(dx), ady = std::abs(dy);
    const bool x_major = adx >= ady;
    const int major = x_major ? adx : ady, minor = x_major ? ady : adx;
    const std::ptrdiff_t straight = x_major ? 4 * sx : s.pitch() * sy;
    const std::ptrdiff_t diagonal = 4 * sx + s.pitch() * sy;
    std::uint8_t* p = s.at(l.x1, l.y1);
    store(p, white);
    int error = 0;
    for (int k = 0; k < l.steps; ++k) {
        error += minor;
        if (error < major) {
            p += straight;
        } else {
            p += diagonal;
            error -= major;
        }
        store(p, white);
    }
}

// `end` makes the far end of a line from a start inside the surface.
template <class End>
void register_lines(const workload& w, const size& z, std::size_t count, End end) {
    std::vector<line_case> cases(count);
    double pixels = 0;
    for (auto& l : cases) {
        l.x1 = between(0, z.w - 1);
        l.y1 = between(0, z.h - 1);
        end(l);
        l.steps = inside_steps(z, l);
        pixels += l.steps + 1;
    }
    const auto kavex_draw = [cases](scratch& s) {
        for (const line_case& l : cases) s.c << move_abs(l.x1, l.y1) << line_abs(l.x2, l.y2);
    };
    const auto limit_draw = [cases](scratch& s) {
        for (const line_case& l : cases) plain_walk(s, l);
    };
    const auto peer_draw = [cases](scratch& s) {
        for (const line_case& l : cases)
            lineColor(s.surface(), Sint16(l.x1), Sint16(l.y1), Sint16(l.x2), Sint16(l.y2), gfx_white);
    };
    // SDL_gfx clips a line to the surface before it walks it: its inside part
    // has the same length, give or take a pixel.
    add_trio(w, z, pixels, pixels, kavex_draw, limit_draw, peer_draw);
}

void register_all_lines(const size& z) {
    static const workload inside{"line", "line with both ends inside", "pixel", 1.3, 0, 2.0};
    register_lines(inside, z, 256, [&](line_case& l) {
        l.x2 = between(0, z.w - 1);
        l.y2 = between(0, z.h - 1);
    });

    // Far ends up to eight surfaces away: most of each line lies outside,
    // and only the part inside is counted.
    static const workload off{"line_off", "line running off the surface", "pixel inside", 1.3, 0, 2.0, "",
                              "SDL_gfx counted by the same inside length"};
    register_lines(off, z, 256, [&](line_case& l) {
        do {
            l.x2 = between(-8 * z.w, 9 * z.w);
            l.y2 = between(-8 * z.h, 9 * z.h);
        } while (l.x2 >= 0 && l.y2 >= 0 && l.x2 < z.w && l.y2 < z.h);
    });

    static const workload arm{"arm", "star arm (up to 9 pixels)", "pixel", 1.3, 0, 2.0};
    register_lines(arm, z, 4096, [&](line_case& l) {
        l.x1 = between(8, z.w - 9);
        l.y1 = between(8, z.h - 9);
        l.x2 = l.x1 + between(-8, 8);
        l.y2 = l.y1 + between(-8, 8);
    });
}

// ---------------------------------------------------------------------------
// Boxes: a chain of box_rel, each from the far corner of the one before, so
// that a figure is the box alone.

struct box_case {
    int x1, y1, x2, y2;  // the pen, then the far corner
    SDL_Rect rect() const {
        SDL_Rect r;
        r.x = Sint16(std::min(x1, x2));
        r.y = Sint16(std::min(y1, y2));
        r.w = Uint16(std::abs(x2 - x1) + 1);
        r.h = Uint16(std::abs(y2 - y1) + 1);
        return r;
    }
};

// A step of `low` to `high` pixels from `at`, in whichever direction fits.
int stride(int at, int extent, int low, int high) {
    const int step = between(low, high);
    const bool forward = random_source()() % 2 == 0;
    if ((forward && at + step < extent) || at - step < 0) return std::min(at + step, extent - 1);
    return at - step;
}

void register_boxes(const workload& w, const size& z, std::size_t count, int low_x, int high_x,
                    int low_y, int high_y) {
    std::vector<box_case> cases(count);
    int x = z.w / 2, y = z.h / 2;  // where a fresh canvas puts the pen
    double pixels = 0;
    for (auto& b : cases) {
        b.x1 = x;
        b.y1 = y;
        b.x2 = x = stride(x, z.w, low_x, high_x);
        b.y2 = y = stride(y, z.h, low_y, high_y);
        const SDL_Rect r = b.rect();
        pixels += double(r.w) * r.h;
    }
    const auto kavex_draw = [cases, z](scratch& s) {
        s.c.pen_x = z.w / 2;
        s.c.pen_y = z.h / 2;
        for (const box_case& b : cases) s.c << box_rel(b.x2 - b.x1, b.y2 - b.y1);
    };
    const auto limit_draw = [cases](scratch& s) {
        for (const box_case& b : cases) {
            const SDL_Rect r = b.rect();
            for (int row = r.y; row < r.y + r.h; ++row) {
                std::uint8_t* p = s.at(r.x, row);
                for (int col = 0; col < r.w; ++col, p += 4) store(p, white);
            }
        }
    };
    const auto peer_draw = [cases](scratch& s) {
        for (const box_case& b : cases)
            boxColor(s.surface(), Sint16(b.x1), Sint16(b.y1), Sint16(b.x2), Sint16(b.y2), gfx_white);
    };
    add_trio(w, z, pixels, pixels, kavex_draw, limit_draw, peer_draw);
    add(w, subject::bare, z, pixels, [cases, z](benchmark::State& st) {
        scratch s(z);
        for (auto _ : st) {
            for (const box_case& b : cases) {
                SDL_Rect r = b.rect();
                SDL_FillRect(s.surface(), &r, white);
            }
            benchmark::ClobberMemory();
        }
    });
}

void register_all_boxes(const size& z) {
    static const workload small{"box_small", "small box (1 to 8 a side)", "pixel", 0, 1.05, 0, "SDL_FillRect"};
    register_boxes(small, z, 4096, 0, 7, 0, 7);
    static const workload large{"box_large", "large box (a quarter to half a side)", "pixel", 0, 1.05, 0,
                                "SDL_FillRect"};
    register_boxes(large, z, 16, z.w / 4, z.w / 2, z.h / 4, z.h / 2);
}

// ---------------------------------------------------------------------------
// Discs and circles of one radius around random pens, cut where they reach
// past an edge. Counted per figure: SDL_gfx draws its own shape of a radius,
// a few pixels more or fewer than kavex's.

struct ball_case {
    int x, y;
};

// One row's stretch of a figure: columns from, to of row y, both included.
struct span {
    int y, from, to;
};

// The spans of a figure, worked out from its rule once, before the timing:
// the limit only stores them.
std::vector<span> ball_spans(const size& z, const ball_case& b, int r, bool outline) {
    const auto inside = [r](long long dx, long long dy) { return dx * dx + dy * dy <= (long long)r * r + r; };
    std::vector<span> spans;
    for (int y = std::max(0, b.y - r); y <= std::min(z.h - 1, b.y + r); ++y) {
        int from = -1;
        for (int x = std::max(0, b.x - r); x <= std::min(z.w - 1, b.x + r) + 1; ++x) {
            const long long dx = x - b.x, dy = y - b.y;
            const bool on = x < z.w && x <= b.x + r && inside(dx, dy) &&
                            (!outline || !inside(dx - 1, dy) || !inside(dx + 1, dy) || !inside(dx, dy - 1) ||
                             !inside(dx, dy + 1));
            if (on && from < 0) from = x;
            if (!on && from >= 0) {
                spans.push_back({y, from, x - 1});
                from = -1;
            }
        }
    }
    return spans;
}

template <class Command>
void register_balls(const workload& w, const size& z, int r, bool outline) {
    std::vector<ball_case> cases(r >= 200 ? 64 : r >= 20 ? 1024 : 8192);
    auto spans = std::make_shared<std::vector<span>>();
    for (auto& b : cases) {
        b = {between(0, z.w - 1), between(0, z.h - 1)};
        for (const span& s : ball_spans(z, b, r, outline)) spans->push_back(s);
    }
    const auto kavex_draw = [cases, r](scratch& s) {
        for (const ball_case& b : cases) s.c << move_abs(b.x, b.y) << Command(r);
    };
    const auto limit_draw = [spans](scratch& s) {
        for (const span& l : *spans) {
            std::uint8_t* p = s.at(l.from, l.y);
            for (int x = l.from; x <= l.to; ++x, p += 4) store(p, white);
        }
    };
    const auto peer_draw = [cases, r, outline](scratch& s) {
        for (const ball_case& b : cases) {
            if (outline) circleColor(s.surface(), Sint16(b.x), Sint16(b.y), Sint16(r), gfx_white);
            else filledCircleColor(s.surface(), Sint16(b.x), Sint16(b.y), Sint16(r), gfx_white);
        }
    };
    add_trio(w, z, double(cases.size()), double(cases.size()), kavex_draw, limit_draw, peer_draw);
}

void register_all_balls(const size& z) {
    static const workload discs[] = {
        {"disc_2", "disc of radius 2", "figure", 0, 0, 1.0},
        {"disc_20", "disc of radius 20", "figure", 0, 0, 1.0},
        {"disc_200", "disc of radius 200", "figure", 0, 0, 1.0},
    };
    static const workload circles[] = {
        {"circle_2", "circle of radius 2", "figure", 0, 0, 1.0},
        {"circle_20", "circle of radius 20", "figure", 0, 0, 1.0},
        {"circle_200", "circle of radius 200", "figure", 0, 0, 1.0},
    };
    const int radii[] = {2, 20, 200};
    for (int k = 0; k < 3; ++k) {
        register_balls<disc>(discs[k], z, radii[k], false);
        register_balls<circle>(circles[k], z, radii[k], true);
    }
}

// ---------------------------------------------------------------------------
// Text: lines of 16 random printable characters at random places where they fit.

using kavex::detail::ascent;
using kavex::detail::charfaces;
using kavex::detail::descent;
using kavex::detail::glyph_rows;
using kavex::detail::glyph_width;
constexpr int text_length = 16;

struct text_case {
    int x, y;
    std::string text;
};

// The limit: the glyph's set pixels stored in the colour, nothing blended.
void plain_glyphs(scratch& s, const text_case& t) {
    int x = t.x;
    for (const char byte : t.text) {
        const std::uint32_t* rows = &charfaces[static_cast<unsigned char>(byte) * glyph_rows];
        std::uint8_t* top_left = s.at(x, t.y - ascent);
        for (int r = 0; r < glyph_rows; ++r, top_left += s.pitch())
            for (int j = 0; j < glyph_width; ++j)
                if ((rows[r] >> (4 * j)) & 0xF) store(top_left + 4 * j, white);
        x += glyph_width;
    }
}

void register_text(const size& z) {
    static const workload w{"text", "text", "cell pixel", 1.5, 0, 2.0, "",
                            "SDL_gfx per pixel of its 8 x 8 cell, kavex of its 8 x 17 cell"};
    std::vector<text_case> cases(256);
    for (auto& t : cases) {
        t.x = between(0, z.w - glyph_width * text_length);
        t.y = between(ascent, z.h - descent - 1);
        for (int i = 0; i < text_length; ++i) t.text += char(between(0x20, 0x7E));
    }
    const auto kavex_draw = [cases](scratch& s) {
        for (const text_case& t : cases) {
            s.c << move_abs(t.x, t.y);
            s.c.draw_text(t.text);
        }
    };
    const auto limit_draw = [cases](scratch& s) {
        for (const text_case& t : cases) plain_glyphs(s, t);
    };
    const auto peer_draw = [cases](scratch& s) {
        for (const text_case& t : cases)
            stringColor(s.surface(), Sint16(t.x), Sint16(t.y - ascent), t.text.c_str(), gfx_white);
    };
    const double characters = double(cases.size()) * text_length;
    add_trio(w, z, characters * glyph_width * glyph_rows, characters * 8 * 8, kavex_draw, limit_draw,
             peer_draw);
}

// Big text: the same at text scale 4, each glyph pixel a 4 x 4 block.
constexpr int big = 4, big_length = 4;

void plain_big_glyphs(scratch& s, const text_case& t) {
    int x = t.x;
    for (const char byte : t.text) {
        const std::uint32_t* rows = &charfaces[static_cast<unsigned char>(byte) * glyph_rows];
        std::uint8_t* top_left = s.at(x, t.y - ascent * big);
        for (int r = 0; r < glyph_rows * big; ++r, top_left += s.pitch())
            for (int j = 0; j < glyph_width * big; ++j)
                if ((rows[r / big] >> (4 * (j / big))) & 0xF) store(top_left + 4 * j, white);
        x += glyph_width * big;
    }
}

void register_big_text(const size& z) {
    static const workload w{"big_text", "text at scale 4", "cell pixel", 3.0};
    std::vector<text_case> cases(64);
    for (auto& t : cases) {
        t.x = between(0, z.w - glyph_width * big * big_length);
        t.y = between(ascent * big, z.h - descent * big - 1);
        for (int i = 0; i < big_length; ++i) t.text += char(between(0x21, 0x7E));
    }
    const auto kavex_draw = [cases](scratch& s) {
        s.c.set_text_scale(big);
        for (const text_case& t : cases) {
            s.c << move_abs(t.x, t.y);
            s.c.draw_text(t.text);
        }
    };
    const auto limit_draw = [cases](scratch& s) {
        for (const text_case& t : cases) plain_big_glyphs(s, t);
    };
    const double pixels = double(cases.size()) * big_length * glyph_width * glyph_rows * big * big;
    add_kavex(w, z, pixels, kavex_draw, limit_draw);
    add(w, subject::limit, z, pixels, [z, limit_draw](benchmark::State& st) {
        scratch s(z);
        for (auto _ : st) {
            limit_draw(s);
            benchmark::ClobberMemory();
        }
    });
}

}  // namespace

void register_draw_workloads() {
    for (const size& z : sizes()) {
        register_dots(z);
        register_many_int_dots(z);
        register_many_double_dots(z);
        register_all_lines(z);
        register_all_boxes(z);
        register_all_balls(z);
        register_text(z);
        register_big_text(z);
    }
}

}  // namespace bench
