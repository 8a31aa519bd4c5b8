// Sound, heard through SDL's disk audio driver: what the mixer sends to the
// device is written to a file, which the test reads back as 16-bit stereo
// frames at the library's rate. Each case runs in a process of its own (this
// test program run again), since a process opens its sound output once.
// Nothing here counts on time: a child waits until the file holds what it
// needs, and the verdict is read from the file.
#include "process.hpp"
#include "save_support.hpp"

#include "graphics.hpp"
#include "mixer.hpp"
#include "sound_file.hpp"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

using namespace kavex;

namespace {

constexpr int rate = detail::sound_rate;
constexpr long buffer_frames = 1024;  // what the library asks SDL for

std::string temp_folder() {
    static std::string folder = [] {
        char name[] = "/tmp/kavex-sound-XXXXXX";
        return std::string(mkdtemp(name));
    }();
    return folder;
}

// A mono 16-bit WAV file at the library's rate.
std::string write_wav(const std::string& name, const std::vector<std::int16_t>& samples) {
    auto le = [](std::string& out, std::uint32_t v, int bytes) {
        for (int i = 0; i < bytes; ++i) out += static_cast<char>(v >> (8 * i) & 0xFF);
    };
    const auto data = static_cast<std::uint32_t>(2 * samples.size());
    std::string file = "RIFF";
    le(file, 36 + data, 4);
    file += "WAVEfmt ";
    le(file, 16, 4), le(file, 1, 2), le(file, 1, 2), le(file, rate, 4);  // PCM, mono
    le(file, rate * 2, 4), le(file, 2, 2), le(file, 16, 2);
    file += "data";
    le(file, data, 4);
    for (std::int16_t s : samples) le(file, static_cast<std::uint16_t>(s), 2);
    const std::string path = temp_folder() + "/" + name;
    test::write_file(path, file);
    return path;
}

long file_frames(const char* path) {
    struct stat st{};
    return stat(path, &st) == 0 ? static_cast<long>(st.st_size / 4) : 0;
}

// In a child: waits (up to a minute) until the disk driver's file holds
// `frames` more frames than now.
void let_the_device_write(long frames) {
    const char* out = std::getenv("SDL_DISKAUDIOFILE");
    const long until = file_frames(out) + frames;
    for (int i = 0; i < 6000 && file_frames(out) < until; ++i) SDL_Delay(10);
}

// In a child: waits until `s` has stopped sounding, and the device has
// written what was mixed meanwhile.
void let_it_end(const sound& s) {
    for (int i = 0; i < 6000 && s.playing(); ++i) SDL_Delay(10);
    let_the_device_write(4 * buffer_frames);
}

std::vector<std::int16_t> left_channel(const std::string& path) {
    const test::bytes bytes = test::read_file(path);
    std::vector<std::int16_t> left(bytes.size() / 4);
    for (std::size_t i = 0; i < left.size(); ++i) std::memcpy(&left[i], bytes.data() + 4 * i, 2);
    return left;
}

// Half a second of samples that differ from their neighbours and are never 0.
const std::vector<std::int16_t> test_signal = [] {
    std::vector<std::int16_t> v(rate / 2);
    for (std::size_t i = 0; i < v.size(); ++i) v[i] = static_cast<std::int16_t>(1000 + i * 37 % 500);
    return v;
}();

// Each case a child runs, named by KAVEX_SOUND_CASE.
void run_case(const std::string& name) {
    const std::string wav = write_wav("test_signal.wav", test_signal);
    sound s;
    if (name == "beep") {
        if (!beep(440, 200)) std::exit(3);
        let_the_device_write(rate / 2);
    } else if (name == "once" || name == "twice") {
        s.load(wav);
        s.play();
        if (name == "twice") s.play();
        let_it_end(s);
    } else if (name == "stop") {
        s.load(wav);
        s.loop();
        let_the_device_write(rate / 2);  // it sounds by then
        s.stop();
        if (s.playing()) std::exit(3);
        // Read after stop: a busy machine may let the device write on meanwhile.
        std::printf("stopped by frame %ld\n", file_frames(std::getenv("SDL_DISKAUDIOFILE")));
        std::fflush(stdout);
        let_the_device_write(rate / 2);
    } else if (name == "volume") {
        s.load(wav);
        set_volume(50);
        s.play();
        let_it_end(s);
        set_volume(100);
        s.set_volume(25);
        s.play();
        let_it_end(s);
    } else if (name == "no device") {
        const bool loaded = s.load(wav);
        for (int twice = 0; twice < 2; ++twice)
            if (s.play() || s.loop() || beep(440, 100) || s.playing()) std::exit(3);
        s.stop();
        set_volume(20);
        std::exit(loaded ? 0 : 4);
    }
}

test::finished run_case_in_child(const std::string& name, const std::string& driver = "disk") {
    return test::run_self({"--gtest_filter=Sound.Child"},
                          {"KAVEX_SOUND_CASE=" + name, "SDL_AUDIODRIVER=" + driver, "KAVEX_EXPLAIN=1",
                           "SDL_DISKAUDIOFILE=" + temp_folder() + "/out.raw", "SDL_DISKAUDIODELAY=1"});
}

// The stretches of the recording that are not silent, as [begin, end).
std::vector<std::pair<std::size_t, std::size_t>> sounding(const std::vector<std::int16_t>& s) {
    std::vector<std::pair<std::size_t, std::size_t>> parts;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == 0) continue;
        std::size_t end = i;
        while (end < s.size() && s[end] != 0) ++end;
        if (!parts.empty() && i - parts.back().second < 8) parts.back().second = end;  // a sine's own zeros
        else parts.emplace_back(i, end);
        i = end;
    }
    return parts;
}

std::vector<std::int16_t> heard(const std::string& name) {
    const test::finished run = run_case_in_child(name);
    EXPECT_TRUE(WIFEXITED(run.status) && WEXITSTATUS(run.status) == 0) << run.output;
    return left_channel(temp_folder() + "/out.raw");
}

}  // namespace

TEST(Sound, Child) {
    if (const char* name = std::getenv("KAVEX_SOUND_CASE")) run_case(name);
}

TEST(Sound, ABeepIsATwoHundredMillisecondToneOf440Hz) {
    const std::vector<std::int16_t> out = heard("beep");
    const auto parts = sounding(out);
    ASSERT_EQ(parts.size(), 1u);
    const auto [begin, end] = parts[0];
    EXPECT_NEAR(double(end - begin) / rate, 0.2, 0.002);
    int crossings = 0;
    for (std::size_t i = begin + 1; i < end; ++i) crossings += (out[i - 1] < 0) != (out[i] < 0);
    EXPECT_NEAR(crossings / 0.2 / 2, 440, 6);
}

TEST(Sound, AFileSoundsSampleForSampleAndTwoPlaysAddUp) {
    const std::vector<std::int16_t> once = heard("once");
    const auto parts = sounding(once);
    ASSERT_EQ(parts.size(), 1u);
    EXPECT_TRUE(std::equal(test_signal.begin(), test_signal.end(), once.begin() + parts[0].first, once.begin() + parts[0].second));

    // The second play starts in the same buffer as the first or in a later
    // one: either way every frame of each is there, added up.
    const std::vector<std::int16_t> twice = heard("twice");
    long total = 0, expected = 0;
    for (std::int16_t s : twice) total += s;
    for (std::int16_t s : test_signal) expected += 2 * s;
    EXPECT_EQ(total, expected);
    EXPECT_GT(*std::max_element(twice.begin(), twice.end()), 1500) << "the two plays never overlapped";
}

TEST(Sound, StopFadesOutWithinABufferWithoutAJump) {
    const test::finished run = run_case_in_child("stop");
    ASSERT_TRUE(WIFEXITED(run.status) && WEXITSTATUS(run.status) == 0) << run.output;
    long stopped_at = -1;
    ASSERT_EQ(std::sscanf(run.output.c_str() + run.output.find("stopped by frame"), "stopped by frame %ld",
                          &stopped_at), 1) << run.output;
    const std::vector<std::int16_t> out = left_channel(temp_folder() + "/out.raw");
    const auto parts = sounding(out);
    ASSERT_EQ(parts.size(), 1u);
    const long last = static_cast<long>(parts[0].second);
    // After the file's size at stop: the buffer mixed but not yet written,
    // what the file's stdio buffer holds (at most two buffers), and the
    // fade, at the start of the next buffer.
    EXPECT_LE(last, stopped_at + 4 * buffer_frames);
    EXPECT_GT(static_cast<long>(out.size()), last + buffer_frames);  // and then silence
    // No cut: k frames before the end, the fade has k / 256 of the loudness
    // left at most (the signal's loudest sample is 1499).
    for (long k = 1; k <= detail::mixer::fade_frames; ++k)
        ASSERT_LE(out[last - k], 1499 * (k + 1) / detail::mixer::fade_frames + 1) << "a click " << k << " before the end";
}

TEST(Sound, TheVolumeAndASoundsOwnScaleIt) {
    const std::vector<std::int16_t> out = heard("volume");
    const auto parts = sounding(out);
    ASSERT_EQ(parts.size(), 2u);
    ASSERT_EQ(parts[0].second - parts[0].first, test_signal.size());
    for (std::size_t i = 0; i < test_signal.size(); ++i) {
        ASSERT_EQ(out[parts[0].first + i], test_signal[i] / 2) << i;
        ASSERT_EQ(out[parts[1].first + i], test_signal[i] / 4) << i;
    }
}

TEST(Sound, WithNoDeviceEveryCallReturnsAndSaysWhyOnce) {
    const test::finished run = run_case_in_child("no device", "no-such-driver");
    ASSERT_TRUE(WIFEXITED(run.status));
    EXPECT_EQ(WEXITSTATUS(run.status), 0) << run.output;
    std::size_t said = 0;
    for (auto at = run.output.find("makes no sound"); at != std::string::npos;
         at = run.output.find("makes no sound", at + 1))
        ++said;
    EXPECT_EQ(said, 1u) << run.output;
}

TEST(Sound, LoudVoicesClipAndTheThirtyThirdWaits) {
    auto loud = std::make_shared<detail::sound_clip>();
    loud->samples.assign(2 * 64, 30000);
    detail::mixer m;
    for (int i = 0; i < detail::mixer::voices; ++i) ASSERT_TRUE(m.start(loud, 1, 100, false)) << i;
    EXPECT_FALSE(m.start(loud, 1, 100, false));
    std::int16_t out[2 * 64];
    m.mix(out, 64);
    EXPECT_EQ(out[0], 32767);  // not wrapped round to a negative
    m.mix(out, 64);
    EXPECT_EQ(out[0], 0);      // every voice has ended, so a new one starts
    EXPECT_TRUE(m.start(loud, 1, 100, false));
}

TEST(Sound, WavFilesOfOtherKindsAreConvertedToStereoAtTheLibrarysRate) {
    // 8-bit stereo at half the rate: left rises, right is silent.
    std::string file = std::string("RIFF\x30\0\0\0WAVEfmt \x10\0\0\0\x01\0\x02\0", 24);
    const std::uint32_t half = rate / 2;
    for (std::uint32_t v : {half, half * 2, 2u | 8u << 16}) file.append(reinterpret_cast<const char*>(&v), 4);
    file += std::string("data\x08\0\0\0", 8);
    for (int f = 0; f < 4; ++f) file += {static_cast<char>(128 + 10 * f), static_cast<char>(128)};
    detail::sound_clip clip;
    std::string reason;
    ASSERT_TRUE(detail::decode_sound(reinterpret_cast<const std::uint8_t*>(file.data()), file.size(), clip, reason))
        << reason;
    ASSERT_EQ(clip.frames(), 8u);
    for (std::size_t f = 0; f < 7; ++f) {
        EXPECT_EQ(clip.samples[2 * f], 10 * 256 * static_cast<int>(f) / 2) << f;  // halfway between the file's
        EXPECT_EQ(clip.samples[2 * f + 1], 0);
    }
    file[22] = 0;  // no channels
    EXPECT_FALSE(detail::decode_sound(reinterpret_cast<const std::uint8_t*>(file.data()), file.size(), clip, reason));
    EXPECT_NE(reason.find("0 channels"), std::string::npos) << reason;
}

TEST(Sound, AnOggFileDecodesToItsFallingTone) {
    const test::bytes file = test::read_file(KAVEX_EXAMPLES_DIR "/sounds/miss.ogg");
    detail::sound_clip clip;
    std::string reason;
    ASSERT_TRUE(detail::decode_sound(file.data(), file.size(), clip, reason)) << reason;
    EXPECT_NEAR(double(clip.frames()) / rate, 0.45, 0.01);  // as scripts/sounds made it
    // From 440 Hz down to 110: the first half crosses zero more often.
    int crossings[2] = {};
    for (std::size_t f = 1; f < clip.frames(); ++f)
        crossings[2 * f / clip.frames()] += (clip.samples[2 * f - 2] < 0) != (clip.samples[2 * f] < 0);
    EXPECT_GT(crossings[0], 3 * crossings[1] / 2) << crossings[0] << " " << crossings[1];
}
