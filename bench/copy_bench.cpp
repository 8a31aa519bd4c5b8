// Copies between canvases: blitfrom of a whole canvas and of 64 x 64 parts,
// from a source that is transparent or not. SDL_gfx has no copy of its own,
// so the baselines are the limit and the bare SDL_UpperBlit.
#include "bench.hpp"

#include <cstdint>
#include <cstring>
#include <map>
#include <memory>
#include <random>
#include <tuple>
#include <vector>

namespace bench {
namespace {

using kavex::canvas;

constexpr int part = 64;

struct copy_case {
    int sx, sy, w, h, dx, dy;
};

// A source picture of the surface's size, made when first asked for: runs of
// black of random length between runs of random colours (top byte clear).
const scratch& source_picture(const size& z, bool transparent) {
    static std::map<std::tuple<int, int, bool>, std::unique_ptr<scratch>> made;
    auto& source = made[{z.w, z.h, transparent}];
    if (source) return *source;
    source = std::make_unique<scratch>(z);
    std::minstd_rand rng(99);
    bool black = false;
    int run = 0;
    for (int y = 0; y < z.h; ++y)
        for (int x = 0; x < z.w; ++x) {
            if (run-- <= 0) {
                black = !black;
                run = int(rng() % 24);
            }
            store(source->at(x, y), black ? 0 : (std::uint32_t(rng()) & 0xFFFFFF) | 1);
        }
    source->c.set_transparent(transparent);
    return *source;
}

// The limit: rows copied as they are, or pixel by pixel leaving black out.
void plain_copy(scratch& to, const scratch& from, const copy_case& k, bool transparent) {
    for (int row = 0; row < k.h; ++row) {
        const std::uint8_t* in = from.at(k.sx, k.sy + row);
        std::uint8_t* out = to.at(k.dx, k.dy + row);
        if (!transparent) {
            std::memcpy(out, in, 4 * std::size_t(k.w));
            continue;
        }
        for (int col = 0; col < k.w; ++col, in += 4, out += 4) {
            std::uint32_t v;
            std::memcpy(&v, in, 4);
            if (v != 0) store(out, v);
        }
    }
}

void register_copies(const workload& w, const size& z, const std::vector<copy_case>& cases, bool transparent) {
    double pixels = 0;
    for (const copy_case& k : cases) pixels += double(k.w) * k.h;

    const auto kavex_draw = [z, cases, transparent](scratch& s) {
        const canvas& source = source_picture(z, transparent).c;
        for (const copy_case& k : cases) s.c.blitfrom(source, k.sx, k.sy, k.w, k.h, k.dx, k.dy);
    };
    const auto limit_draw = [z, cases, transparent](scratch& s) {
        const scratch& source = source_picture(z, transparent);
        for (const copy_case& k : cases) plain_copy(s, source, k, transparent);
    };
    add_kavex(w, z, pixels, kavex_draw, limit_draw);
    add(w, subject::limit, z, pixels, [=](benchmark::State& st) {
        scratch s(z);
        for (auto _ : st) {
            limit_draw(s);
            benchmark::ClobberMemory();
        }
    });
    add(w, subject::bare, z, pixels, [=](benchmark::State& st) {
        scratch s(z);
        SDL_Surface* source = source_picture(z, transparent).surface();
        SDL_SetColorKey(source, transparent ? SDL_SRCCOLORKEY : 0, 0);
        for (auto _ : st) {
            for (const copy_case& k : cases) {
                SDL_Rect from{Sint16(k.sx), Sint16(k.sy), Uint16(k.w), Uint16(k.h)};
                SDL_Rect to{Sint16(k.dx), Sint16(k.dy), 0, 0};
                SDL_UpperBlit(source, &from, s.surface(), &to);
            }
            benchmark::ClobberMemory();
        }
    });
}

}  // namespace

void register_copy_workloads() {
    static const workload whole{"copy_whole", "copy of a whole canvas", "pixel", 0, 0, 0, "SDL_UpperBlit"};
    static const workload whole_keyed{"copy_whole_keyed", "copy of a whole transparent canvas", "pixel", 0, 0,
                                      0, "SDL_UpperBlit"};
    static const workload parts{"copy_part", "copy of 64 x 64 parts", "pixel", 0, 0, 0, "SDL_UpperBlit"};
    static const workload parts_keyed{"copy_part_keyed", "copy of 64 x 64 transparent parts", "pixel", 0, 0,
                                      0, "SDL_UpperBlit"};
    for (const size& z : sizes()) {
        const std::vector<copy_case> all{{0, 0, z.w, z.h, 0, 0}};
        register_copies(whole, z, all, false);
        register_copies(whole_keyed, z, all, true);

        std::mt19937 rng(5);
        std::vector<copy_case> pieces(256);
        for (copy_case& k : pieces)
            k = {int(rng() % unsigned(z.w - part)), int(rng() % unsigned(z.h - part)), part, part,
                 int(rng() % unsigned(z.w - part)), int(rng() % unsigned(z.h - part))};
        register_copies(parts, z, pieces, false);
        register_copies(parts_keyed, z, pieces, true);
    }
}

}  // namespace bench
