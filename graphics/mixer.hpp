// Private to the library: the one mixer of every side. Sounds are held as
// 16-bit stereo frames at `sound_rate` (sound_file.hpp converts every file
// to that), and up to `mixer::voices` of them play at once, added up and
// clipped.
//
// The side's audio output calls mix() on its own thread (SDL's audio
// callback) or between waits (the playground); everything else is called on
// the program's thread with the side's sound lock held (sdl_side.hpp), so
// that the two never meet halfway through a voice. mix() allocates and frees
// nothing: a clip that has finished is let go on the program's thread.
//
//   mixer m;
//   m.start(clip, owner, 100, false);   // under the lock
//   m.mix(out, frames);                 // on the audio thread
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace kavex::detail {

constexpr int sound_rate = 44100;  // frames a second, on every side
constexpr int sound_channels = 2;  // left, right

// A sound ready to play: frames of left and right samples at sound_rate.
struct sound_clip {
    std::vector<std::int16_t> samples;
    std::size_t frames() const { return samples.size() / sound_channels; }
};

class mixer {
public:
    static constexpr int voices = 32;      // sounds that may play at once
    static constexpr int fade_frames = 256;  // a stopped voice fades out over these (6 ms): no click

    // Starts `clip` from its beginning for `owner` (a sound's number), at
    // `percent` of its loudness, once or over and over. False when every
    // voice is busy.
    bool start(std::shared_ptr<const sound_clip> clip, unsigned owner, int percent, bool repeat);
    // Fades out every voice of `owner`.
    void stop(unsigned owner);
    // True while a voice of `owner` sounds and is not fading out.
    bool playing(unsigned owner) const;
    // The loudness of `owner`'s voices, now and at its later starts.
    void set_loudness(unsigned owner, int percent);
    // The loudness of everything, 0 to 100.
    void set_volume(int percent);

    // Writes `frames` stereo frames of everything playing into `out`.
    void mix(std::int16_t* out, int frames);

private:
    struct voice {
        std::shared_ptr<const sound_clip> clip;  // null: free
        const std::int16_t* samples = nullptr;   // the clip's, read by mix()
        std::size_t frames = 0;
        std::size_t at = 0;        // the next frame
        unsigned owner = 0;
        int gain = 256;            // per voice, 256 is as recorded
        int fade = -1;             // frames left of the fade-out, -1 when not fading
        bool repeat = false;
        bool sounding = false;     // mix() clears it at the end; then `clip` waits to be let go
    };
    void let_go_of_finished();
    void mix_voice(voice& v, std::int32_t* sum, int frames);

    voice voice_[voices];
    int volume_ = 256;
};

// Percent (clamped to 0..100) as a gain where 256 is unchanged.
int gain_of(int percent);

}  // namespace kavex::detail
