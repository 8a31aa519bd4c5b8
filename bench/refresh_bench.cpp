// Refresh of the 400 x 400 output window: needs a real display (scripts/bench
// starts Xvfb), so nothing is registered on SDL's dummy driver.
#include "bench.hpp"

#include <cstring>
#include <string>
#include <vector>

namespace bench {

void register_refresh_workloads() {
    char driver[32] = "";
    if (!SDL_VideoDriverName(driver, sizeof driver) || std::string(driver) == "dummy") return;
    kavex::canvas& window = kavex::gout;
    if (!kavex::gout.open(400, 400)) return;

    static const workload w{"refresh", "refresh of a 400 x 400 window", "frame", 0, 0, 0, "SDL_Flip",
                            "", true};
    static const size z{400, 400, "400x400"};
    add(w, subject::kavex, z, 1, [&window](benchmark::State& st) {
        for (auto _ : st) window << kavex::refresh;
    });
    add(w, subject::bare, z, 1, [&window](benchmark::State& st) {
        for (auto _ : st) SDL_Flip(window.surface);
    });
    // The limit: the frame's pixels copied once at memory speed.
    add(w, subject::limit, z, 1, [&window](benchmark::State& st) {
        const SDL_Surface* s = window.surface;
        const std::size_t bytes = std::size_t(s->pitch) * std::size_t(s->h);
        std::vector<unsigned char> copy(bytes);
        for (auto _ : st) {
            std::memcpy(copy.data(), s->pixels, bytes);
            benchmark::ClobberMemory();
        }
    });
}

}  // namespace bench
