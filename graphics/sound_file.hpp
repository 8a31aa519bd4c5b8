// Private to the library: a sound file's bytes made into a clip to play, the
// part of sound::load that needs no file and no output, so that the fuzz
// harness and the tests can give it any bytes. Every side reads and converts
// the same way, here.
#pragma once

#include "mixer.hpp"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace kavex::detail {

// The longest sound a file may hold, in seconds, and the most samples it may
// hold whatever its channels and rate (five minutes of stereo at 48 kHz):
// more is refused before it fills the memory (a minute of clip is 10 MB).
constexpr int longest_sound = 300;
constexpr std::size_t most_samples = std::size_t{longest_sound} * 48000 * 2;

// Says in `reason` that the sound is longer than that; false.
bool too_long(std::string& reason);

// True for 1 to 16 channels at 1 Hz to 384 kHz; otherwise false, with the
// numbers in `reason`.
bool plausible(int channels, int rate, std::string& reason);

// Samples as a file holds them, before conversion: frames of `channels`
// samples, interleaved, at `rate` frames a second.
struct decoded_sound {
    std::vector<std::int16_t> samples;
    int channels = 0;
    int rate = 0;
};

// True when the bytes begin a RIFF WAVE file, or an Ogg stream.
bool is_wav(const std::uint8_t* bytes, std::size_t size);
bool is_ogg(const std::uint8_t* bytes, std::size_t size);

// A PCM WAV file (8, 16, 24 or 32 bits, or 32-bit float; any channels and
// rate) decoded; false with why in `reason`.
bool read_wav(const std::uint8_t* bytes, std::size_t size, decoded_sound& out, std::string& reason);
// An Ogg Vorbis file decoded (stb_vorbis); false with why in `reason`.
bool read_ogg(const std::uint8_t* bytes, std::size_t size, decoded_sound& out, std::string& reason);

// The decoded sound as stereo at sound_rate: mono goes to both sides, more
// than two channels keep the first two, and other rates are resampled
// linearly. False (and no clip) when memory runs out.
bool convert_to_clip(const decoded_sound& in, sound_clip& out);

// A WAV or OGG file's bytes as a clip; false with why in `reason`, in words
// that follow "load(\"name\") failed: ".
bool decode_sound(const std::uint8_t* bytes, std::size_t size, sound_clip& out, std::string& reason);

// A tone of `hz` for `ms` as a clip: a sine at three quarters of full
// loudness, its first and last 5 ms faded, so that it starts and ends
// without a click.
bool make_tone(int hz, int ms, sound_clip& out);

}  // namespace kavex::detail
