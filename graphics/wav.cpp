// Reading a WAV file: the RIFF chunks "fmt " and "data", PCM samples of 8,
// 16, 24 or 32 bits or 32-bit floats, as 16-bit samples. The file's own
// sizes are never trusted: a chunk that claims more than the file holds ends
// with the file.
#include "little_endian.hpp"
#include "messages.hpp"
#include "sound_file.hpp"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace kavex::detail {

// Named, not unnamed: the Windows package compiles every source as one file.
namespace wav_detail {

constexpr int pcm = 1;
constexpr int ieee_float = 3;
constexpr int extensible = 0xFFFE;  // the format's number is in its sub-format

struct format {
    int tag = 0;
    int channels = 0;
    int rate = 0;
    int bits = 0;
};

bool read_format(const std::uint8_t* chunk, std::size_t size, format& f) {
    if (size < 16) return false;
    f.tag = static_cast<int>(read_le(chunk, 2));
    f.channels = static_cast<int>(read_le(chunk + 2, 2));
    f.rate = static_cast<int>(std::min<std::uint32_t>(read_le(chunk + 4, 4), 1u << 30));
    f.bits = static_cast<int>(read_le(chunk + 14, 2));
    if (f.tag == extensible && size >= 26) f.tag = static_cast<int>(read_le(chunk + 24, 2));
    return true;
}

// One sample of `bits` bits at `p` as 16 bits.
std::int16_t sample(const std::uint8_t* p, int tag, int bits) {
    if (tag == ieee_float) {
        float value;
        std::memcpy(&value, p, sizeof value);  // the file's bytes are little-endian, as the machines kavex runs on
        if (!(value == value)) value = 0;      // NaN
        return static_cast<std::int16_t>(std::lround(std::clamp(value, -1.0f, 1.0f) * 32767));
    }
    switch (bits) {
        case 8: return static_cast<std::int16_t>((p[0] - 128) * 256);
        case 16: return static_cast<std::int16_t>(read_le(p, 2));
        case 24: return static_cast<std::int16_t>(read_le(p + 1, 2));
        default: return static_cast<std::int16_t>(read_le(p + 2, 2));
    }
}

bool usable(const format& f, std::string& reason) {
    const bool known = (f.tag == pcm && (f.bits == 8 || f.bits == 16 || f.bits == 24 || f.bits == 32)) ||
                       (f.tag == ieee_float && f.bits == 32);
    if (!known) {
        reason = words(text::wav_kind, {{"format", f.tag}, {"bits", f.bits}});
        return false;
    }
    return plausible(f.channels, f.rate, reason);
}

}  // namespace wav_detail

bool is_wav(const std::uint8_t* bytes, std::size_t size) {
    return size >= 12 && std::memcmp(bytes, "RIFF", 4) == 0 && std::memcmp(bytes + 8, "WAVE", 4) == 0;
}

bool read_wav(const std::uint8_t* bytes, std::size_t size, decoded_sound& out, std::string& reason) {
    using namespace wav_detail;
    format f;
    bool have_format = false;
    std::size_t at = 12;
    while (at + 8 <= size) {
        const std::uint8_t* chunk = bytes + at + 8;
        const std::size_t chunk_size = std::min<std::size_t>(read_le(bytes + at + 4, 4), size - at - 8);
        if (std::memcmp(bytes + at, "fmt ", 4) == 0) {
            have_format = read_format(chunk, chunk_size, f);
        } else if (std::memcmp(bytes + at, "data", 4) == 0) {
            if (!have_format) break;
            if (!usable(f, reason)) return false;
            const std::size_t frame_bytes = static_cast<std::size_t>(f.channels) * (f.bits / 8);
            const std::size_t frames = chunk_size / frame_bytes;
            if (frames * f.channels > most_samples) return too_long(reason);
            out.samples.resize(frames * f.channels);
            for (std::size_t i = 0; i < out.samples.size(); ++i)
                out.samples[i] = sample(chunk + i * (f.bits / 8), f.tag, f.bits);
            out.channels = f.channels;
            out.rate = f.rate;
            return true;
        }
        at += 8 + chunk_size + (chunk_size & 1);  // chunks are padded to an even size
    }
    reason = words(have_format ? text::wav_no_data : text::wav_damaged);
    return false;
}

}  // namespace kavex::detail
