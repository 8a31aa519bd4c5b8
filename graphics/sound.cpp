// Sounds and tones: a file read and converted once into a clip, then played
// by the mixer as often as wanted. Every call returns at once; where nothing
// can sound, play and beep say false and the program goes on.
#include "explain.hpp"
#include "graphics.hpp"
#include "os_side.hpp"
#include "sound_file.hpp"
#include "sound_output.hpp"

#include <vector>

namespace kavex {

namespace {

// Owner numbers for the mixer: 0 is every beep's, each sound has its own.
constexpr unsigned beep_owner = 0;
unsigned last_owner = beep_owner;

// A sound file's largest size: more than five minutes of any sound.
constexpr std::size_t largest_sound_file = std::size_t{1} << 28;

// Not std::make_shared: its control block compares type_info, whose
// operator== Clang on MinGW emits as well as libstdc++ does, and the
// Windows package's one-file build then fails to link.
std::shared_ptr<detail::sound_clip> new_clip() { return std::shared_ptr<detail::sound_clip>(new detail::sound_clip); }

bool failed_sound_load(const std::string& name, const std::string& reason) {
    detail::explain(detail::mistake::sound_load_failed,
                    [&] { return detail::words(detail::text::sound_load_failed, {{"file", name}, {"why", reason}}); });
    return false;
}

bool no_sound(const char* call) {
    detail::explain(detail::mistake::no_sound, [&] {
        return detail::words(detail::text::no_sound, {{"call", call}, {"why", detail::sound_output_why_not()}});
    });
    return false;
}

bool busy(const char* call) {
    detail::explain(detail::mistake::sound_busy, [&] {
        return detail::words(detail::text::sound_busy, {{"call", call}, {"voices", detail::mixer::voices}});
    });
    return false;
}

}  // namespace

sound::sound() : id_(++last_owner) {}

sound::sound(const sound& other) : clip_(other.clip_), id_(++last_owner), volume_(other.volume_) {}

sound& sound::operator=(const sound& other) {
    if (this != &other) {
        stop();
        clip_ = other.clip_;
        volume_ = other.volume_;
    }
    return *this;
}

sound::~sound() { stop(); }

bool sound::load(const std::string& name) {
    stop();
    clip_.reset();
    detail::sound_output_ready();  // started now, so that the first play sounds at once
    return detail::unless_out_of_memory(
        [&] {
            std::vector<std::uint8_t> bytes;
            std::string reason;
            if (!os_side::read_file(name, largest_sound_file, bytes, reason))
                return failed_sound_load(name, detail::words(detail::text::file_unreadable, {{"why", reason}}));
            auto clip = new_clip();
            if (!detail::decode_sound(bytes.data(), bytes.size(), *clip, reason))
                return failed_sound_load(name, reason);
            clip_ = std::move(clip);
            return true;
        },
        [&] { return failed_sound_load(name, detail::words(detail::text::no_memory)); });
}

bool sound::start(bool repeat, const char* call) {
    if (!clip_) {
        detail::explain(detail::mistake::sound_empty,
                        [&] { return detail::words(detail::text::sound_empty, {{"call", call}}); });
        return false;
    }
    if (!detail::sound_output_ready()) return no_sound(call);
    detail::sound_lock lock;
    return detail::sound_mixer().start(clip_, id_, volume_, repeat) || busy(call);
}

bool sound::play() { return start(false, "play()"); }

bool sound::loop() { return start(true, "loop()"); }

void sound::stop() {
    detail::sound_lock lock;
    detail::sound_mixer().stop(id_);
}

bool sound::playing() const {
    detail::sound_lock lock;
    return detail::sound_mixer().playing(id_);
}

void sound::set_volume(int percent) {
    volume_ = percent;
    detail::sound_lock lock;
    detail::sound_mixer().set_loudness(id_, percent);
}

bool beep(int hz, int ms) {
    if (hz < 20 || hz > 20000 || ms < 1 || ms > 10000) {
        detail::explain(detail::mistake::beep_unheard,
                        [&] { return detail::words(detail::text::beep_unheard, {{"hz", hz}, {"ms", ms}}); });
        return false;
    }
    if (!detail::sound_output_ready()) return no_sound("beep()");
    return detail::unless_out_of_memory(
        [&] {
            auto tone = new_clip();
            detail::make_tone(hz, ms, *tone);
            detail::sound_lock lock;
            return detail::sound_mixer().start(std::move(tone), beep_owner, 100, false) || busy("beep()");
        },
        [] { return false; });
}

void set_volume(int percent) {
    detail::sound_lock lock;
    detail::sound_mixer().set_volume(percent);
}

}  // namespace kavex
