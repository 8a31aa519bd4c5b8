// The mixer: voices added up in 32 bits, scaled by their gain and the
// volume, and clipped to 16 bits once, at the end.
#include "mixer.hpp"

#include <algorithm>
#include <utility>

namespace kavex::detail {

int gain_of(int percent) { return std::clamp(percent, 0, 100) * 256 / 100; }

bool mixer::start(std::shared_ptr<const sound_clip> clip, unsigned owner, int percent, bool repeat) {
    let_go_of_finished();
    if (!clip || clip->frames() == 0) return false;
    for (voice& v : voice_) {
        if (v.clip) continue;
        v.samples = clip->samples.data();
        v.frames = clip->frames();
        v.clip = std::move(clip);
        v.at = 0;
        v.owner = owner;
        v.gain = gain_of(percent);
        v.fade = -1;
        v.repeat = repeat;
        v.sounding = true;
        return true;
    }
    return false;
}

void mixer::stop(unsigned owner) {
    for (voice& v : voice_)
        if (v.sounding && v.owner == owner && v.fade < 0) v.fade = fade_frames;
    let_go_of_finished();
}

bool mixer::playing(unsigned owner) const {
    return std::any_of(std::begin(voice_), std::end(voice_),
                       [&](const voice& v) { return v.sounding && v.owner == owner && v.fade < 0; });
}

void mixer::set_loudness(unsigned owner, int percent) {
    for (voice& v : voice_)
        if (v.owner == owner) v.gain = gain_of(percent);
}

void mixer::set_volume(int percent) { volume_ = gain_of(percent); }

// On the program's thread: a clip may be the last reference to its samples,
// and freeing them is no work for the audio thread.
void mixer::let_go_of_finished() {
    for (voice& v : voice_)
        if (v.clip && !v.sounding) {
            v.clip.reset();
            v.samples = nullptr;
        }
}

// A fading voice goes frame by frame (for at most fade_frames); any other
// in runs up to the end of its clip, each a plain loop.
void mixer::mix_voice(voice& v, std::int32_t* sum, int frames) {
    int f = 0;
    while (f < frames && v.sounding) {
        int run = static_cast<int>(std::min<std::size_t>(frames - f, v.frames - v.at));
        const std::int16_t* in = v.samples + 2 * v.at;
        if (v.fade >= 0) {
            run = std::min(run, v.fade + 1);
            for (int i = 0; i < run; ++i, --v.fade) {
                const int gain = v.gain * v.fade / fade_frames;
                sum[2 * (f + i)] += in[2 * i] * gain;
                sum[2 * (f + i) + 1] += in[2 * i + 1] * gain;
            }
            if (v.fade < 0) v.sounding = false;
        } else {
            const int gain = v.gain;
            std::int32_t* out = sum + 2 * f;
            for (int i = 0; i < 2 * run; ++i) out[i] += in[i] * gain;
        }
        f += run;
        v.at += run;
        if (v.at == v.frames) {
            v.at = 0;
            if (!v.repeat) v.sounding = false;
        }
    }
}

void mixer::mix(std::int16_t* out, int frames) {
    constexpr int chunk = 256;
    std::int32_t sum[2 * chunk];
    while (frames > 0) {
        const int n = std::min(frames, chunk);
        std::fill(sum, sum + 2 * n, 0);
        for (voice& v : voice_)
            if (v.sounding) mix_voice(v, sum, n);
        // Each voice carries a gain of 256 and the volume another: 16 bits
        // of scale, taken off in 64 bits so that 32 loud voices cannot wrap.
        for (int i = 0; i < 2 * n; ++i) {
            const std::int64_t scaled = std::int64_t{sum[i]} * volume_ >> 16;
            out[i] = static_cast<std::int16_t>(std::clamp<std::int64_t>(scaled, -32768, 32767));
        }
        out += 2 * n;
        frames -= n;
    }
}

}  // namespace kavex::detail
