// The mixer: 16 and 32 voices of a looping clip mixed into 1024 frames,
// counted per voice and frame. The limit adds the same samples up and
// clips them with nothing else (no loudness, fade or loop); SDL_gfx has no
// sound, and SDL 1.2 no mixer.
#include "bench.hpp"
#include "mixer.hpp"

#include <algorithm>
#include <memory>
#include <vector>

namespace bench {
namespace {

using kavex::detail::sound_channels;
using kavex::detail::sound_clip;

constexpr int frames = 1024;

std::shared_ptr<const sound_clip> noise_clip() {
    auto clip = std::make_shared<sound_clip>();
    clip->samples.resize(2 * 44100);
    unsigned seed = 7;
    for (auto& s : clip->samples) s = static_cast<std::int16_t>((seed = seed * 1103515245 + 12345) >> 20);
    return clip;
}

void plain_mix(const std::vector<const std::int16_t*>& voices, std::size_t at, std::int16_t* out) {
    std::int32_t sum[sound_channels * frames] = {};
    for (const std::int16_t* v : voices)
        for (int i = 0; i < sound_channels * frames; ++i) sum[i] += v[at + i];
    for (int i = 0; i < sound_channels * frames; ++i) out[i] = static_cast<std::int16_t>(std::clamp(sum[i], -32768, 32767));
}

void add_mixing(int voices, const char* name) {
    static const workload w{"mix", "mixing looping voices", "voice frame"};
    const size z{voices, 1, name};
    add(w, subject::kavex, z, double(voices) * frames, [voices](benchmark::State& st) {
        auto m = std::make_unique<kavex::detail::mixer>();
        const auto clip = noise_clip();
        for (int v = 0; v < voices; ++v) m->start(clip, 1, 80, true);
        std::int16_t out[sound_channels * frames];
        for (auto _ : st) {
            m->mix(out, frames);
            benchmark::DoNotOptimize(out);
        }
    });
    add(w, subject::limit, z, double(voices) * frames, [voices](benchmark::State& st) {
        const auto clip = noise_clip();
        const std::vector<const std::int16_t*> all(voices, clip->samples.data());
        std::int16_t out[sound_channels * frames];
        std::size_t at = 0;
        for (auto _ : st) {
            plain_mix(all, at, out);
            at = (at + sound_channels * frames) % (clip->samples.size() - sound_channels * frames);
            benchmark::DoNotOptimize(out);
        }
    });
}

}  // namespace

void register_sound_workloads() {
    add_mixing(16, "16 voices");
    add_mixing(32, "32 voices");
}

}  // namespace bench
