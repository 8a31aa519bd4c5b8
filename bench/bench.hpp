// Shared by the benchmarks: the surfaces, the subjects every figure is
// measured for, and the registry that the table of ratios is written from.
//
// Each workload is measured for kavex and for two baselines on the same
// 32-bit surface in the same run: the limit (a plain loop that stores the
// same pixels with no checks at all) and the peer (SDL_gfx). Some workloads
// add a third, the bare SDL call that kavex itself makes (SDL_FillRect for a
// box, SDL_Flip for a refresh).
#pragma once

#include "graphics.hpp"

#include <benchmark/benchmark.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace bench {

struct size {
    int w, h;
    const char* name;
};

inline const std::vector<size>& sizes() {
    static const std::vector<size> all{{400, 400, "400x400"}, {1920, 1080, "1920x1080"}};
    return all;
}

enum class subject { kavex, limit, bare, peer };

// One row group of the table: what is drawn, per what it is counted, and
// the targets that its ratios are held to (0: no target).
struct workload {
    std::string id;    // in benchmark names: id/subject/size
    std::string name;  // in the table
    std::string unit = "pixel";
    double most_over_limit = 0;  // kavex ÷ limit at most this
    double most_over_bare = 0;   // kavex ÷ bare SDL at most this
    double least_peer_over = 0;  // SDL_gfx ÷ kavex at least this
    std::string bare = "";       // the bare SDL call, if measured
    std::string note = "";       // how the peer's figures are counted, if not plainly
    bool real_time = false;      // timed by the clock on the wall, not by the process's CPU time
};

// A benchmark body: runs the work `units` times over per iteration.
using body = std::function<void(benchmark::State&)>;

// Registers one figure: `units` is how many units one iteration draws. The
// table lists workloads in the order of their first figure.
void add(const workload& w, subject who, const size& z, double units, body run);

// A black canvas of one surface size, released when the benchmark is done
// (the library itself never releases a surface).
class scratch {
public:
    explicit scratch(const size& z) : c(z.w, z.h) { clear(); }
    ~scratch() { SDL_FreeSurface(c.surface); }
    scratch(const scratch&) = delete;
    scratch& operator=(const scratch&) = delete;

    void clear() { SDL_FillRect(c.surface, nullptr, 0); }
    SDL_Surface* surface() const { return c.surface; }
    std::ptrdiff_t pitch() const { return c.surface->pitch; }
    std::uint8_t* at(int x, int y) const {
        return static_cast<std::uint8_t*>(c.surface->pixels) + std::ptrdiff_t{y} * pitch() + 4 * x;
    }
    bool same_pixels(const scratch& other) const {
        for (int y = 0; y < c.surface->h; ++y)
            if (std::memcmp(at(0, y), other.at(0, y), 4 * std::size_t(c.surface->w)) != 0) return false;
        return true;
    }

    kavex::canvas c;
};

inline void store(std::uint8_t* p, std::uint32_t value) { std::memcpy(p, &value, 4); }

constexpr std::uint32_t white = 0xFFFFFF;
constexpr std::uint32_t gfx_white = 0xFFFFFFFF;  // SDL_gfx takes 0xRRGGBBAA

// Runs `draw` once on a fresh black surface for kavex and once for the limit;
// false if they leave different pictures (the limit must store the same pixels).
template <class K, class L>
bool limit_matches(const size& z, K kavex_draw, L limit_draw) {
    scratch a(z), b(z);
    kavex_draw(a);
    limit_draw(b);
    return a.same_pixels(b);
}

// Registers kavex drawing `kavex_draw`; its run first checks that the limit
// stores exactly kavex's pixels.
template <class K, class L>
void add_kavex(const workload& w, const size& z, double units, K kavex_draw, L limit_draw) {
    add(w, subject::kavex, z, units, [=](benchmark::State& st) {
        if (!limit_matches(z, kavex_draw, limit_draw)) {
            st.SkipWithError("the limit stores other pixels than kavex draws");
            return;
        }
        scratch s(z);
        for (auto _ : st) {
            kavex_draw(s);
            benchmark::ClobberMemory();
        }
    });
}

void register_draw_workloads();
void register_copy_workloads();
void register_refresh_workloads();
void register_sound_workloads();

}  // namespace bench
