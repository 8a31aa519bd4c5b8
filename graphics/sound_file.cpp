// A sound file made into a clip: read as WAV or OGG, then converted once to
// the mixer's stereo at sound_rate, so that playing costs no conversion.
// Tones are made here too, as clips.
#include "messages.hpp"
#include "sound_file.hpp"

#include <algorithm>
#include <cmath>

namespace kavex::detail {

bool too_long(std::string& reason) {
    reason = words(text::sound_too_long, {{"minutes", longest_sound / 60}});
    return false;
}

bool plausible(int channels, int rate, std::string& reason) {
    if (channels >= 1 && channels <= 16 && rate >= 1 && rate <= 384000) return true;
    reason = words(text::sound_channels, {{"channels", channels}, {"rate", rate}});
    return false;
}

bool convert_to_clip(const decoded_sound& in, sound_clip& out) {
    const std::size_t in_frames = in.samples.size() / in.channels;
    const std::size_t frames = in.rate == sound_rate ? in_frames : in_frames * sound_rate / in.rate;
    out.samples.resize(frames * sound_channels);
    const int right = in.channels > 1 ? 1 : 0;
    for (std::size_t f = 0; f < frames; ++f) {
        // The output frame f lies at `position` in the input: between frames
        // `i` and `i + 1`, `part` 65536ths of the way.
        const std::uint64_t position = std::uint64_t{f} * in.rate * 65536 / sound_rate;
        const std::size_t i = position >> 16;
        const auto part = static_cast<std::int64_t>(position & 0xFFFF);
        const std::size_t next = std::min(i + 1, in_frames - 1);
        for (int side = 0; side < sound_channels; ++side) {
            const int channel = side == 0 ? 0 : right;
            const std::int64_t a = in.samples[i * in.channels + channel];
            const std::int64_t b = in.samples[next * in.channels + channel];
            out.samples[f * sound_channels + side] = static_cast<std::int16_t>(a + ((b - a) * part >> 16));
        }
    }
    return true;
}

bool decode_sound(const std::uint8_t* bytes, std::size_t size, sound_clip& out, std::string& reason) {
    decoded_sound in;
    if (is_wav(bytes, size)) {
        if (!read_wav(bytes, size, in, reason)) return false;
    } else if (is_ogg(bytes, size)) {
        if (!read_ogg(bytes, size, in, reason)) return false;
    } else {
        reason = words(text::not_a_sound);
        return false;
    }
    if (in.samples.size() / in.channels > std::size_t{longest_sound} * in.rate) return too_long(reason);
    // At least one frame, also once resampled (a single frame at 96 kHz is none at 44.1).
    if (in.samples.size() / in.channels * sound_rate / in.rate == 0) {
        reason = words(text::sound_holds_nothing);
        return false;
    }
    return convert_to_clip(in, out);
}

bool make_tone(int hz, int ms, sound_clip& out) {
    const std::size_t frames = std::size_t(ms) * sound_rate / 1000;
    const std::size_t edge = std::min<std::size_t>(sound_rate / 200, frames / 2);  // 5 ms
    constexpr double loudness = 0.75 * 32767;
    const double step = 2 * 3.14159265358979323846 * hz / sound_rate;
    out.samples.resize(frames * sound_channels);
    for (std::size_t f = 0; f < frames; ++f) {
        const std::size_t from_edge = std::min(f, frames - 1 - f);
        const double envelope = from_edge < edge ? double(from_edge) / edge : 1.0;
        const auto value = static_cast<std::int16_t>(std::lround(loudness * envelope * std::sin(step * f)));
        out.samples[f * sound_channels] = out.samples[f * sound_channels + 1] = value;
    }
    return true;
}

}  // namespace kavex::detail
