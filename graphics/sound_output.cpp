// The sound output: opened through the SDL side at the first sound, fed by
// the mixer, closed when the program ends. A program that makes no sound
// never starts it, and runs exactly as it would without it.
#include "sound_output.hpp"

#include "messages.hpp"
#include "run_input.hpp"
#include "sdl_side.hpp"

namespace kavex::detail {

namespace {

enum class output_state { untried, open, off, ended };

// Made once and never destroyed: the audio thread may still read the mixer
// while the process ends, and the window's end (and a global sound's)
// comes after the library's other static objects are gone.
struct sound_output {
    mixer voices;
    output_state state = output_state::untried;
    std::string why_not;
};

sound_output* made = nullptr;  // a program that makes no sound never makes it

sound_output& output() {
    if (!made) made = new sound_output;
    return *made;
}

void fill(std::int16_t* frames, int count) { output().voices.mix(frames, count); }

}  // namespace

mixer& sound_mixer() { return output().voices; }

bool sound_output_ready() {
    sound_output& out = output();
    if (out.state != output_state::untried) return out.state == output_state::open;
    if (run_input::replaying()) {
        out.why_not = words(text::replay_silent);
    } else if (!sdl_side::sound_allowed()) {
        out.why_not = words(text::page_needs_click);
        return false;  // asked again at the next sound
    } else if (sdl_side::open_sound(fill, out.why_not)) {
        out.state = output_state::open;
        return true;
    }
    out.state = output_state::off;
    return false;
}

const std::string& sound_output_why_not() { return output().why_not; }

void end_sound() {
    if (!made) return;
    sound_output& out = *made;
    if (out.state == output_state::open) sdl_side::close_sound();
    out.state = output_state::ended;
    out.why_not = words(text::program_ended);
}

sound_lock::sound_lock() { sdl_side::lock_sound(); }
sound_lock::~sound_lock() { sdl_side::unlock_sound(); }

}  // namespace kavex::detail
