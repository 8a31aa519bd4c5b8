// The sound output: opened through the SDL side at the first sound, fed by
// the mixer, closed when the program ends. A program that makes no sound
// never starts it, and runs exactly as it would without it.
#include "sound_output.hpp"

#include "run_input.hpp"
#include "sdl_side.hpp"

namespace kavex::detail {

namespace {

enum class output_state { untried, open, off, ended };

output_state state = output_state::untried;
std::string why_not;

void fill(std::int16_t* frames, int count) { sound_mixer().mix(frames, count); }

}  // namespace

// Made once and never destroyed: the audio thread may still read it while
// the process ends.
mixer& sound_mixer() {
    static mixer* const the_mixer = new mixer;
    return *the_mixer;
}

bool sound_output_ready() {
    if (state != output_state::untried) return state == output_state::open;
    if (run_input::replaying()) {
        why_not = "a replayed run is silent";
    } else if (!sdl_side::sound_allowed()) {
        why_not = "the page plays sound only after its first click or key";
        return false;  // asked again at the next sound
    } else if (sdl_side::open_sound(fill, why_not)) {
        state = output_state::open;
        return true;
    }
    state = output_state::off;
    return false;
}

const std::string& sound_output_why_not() { return why_not; }

void end_sound() {
    if (state == output_state::open) sdl_side::close_sound();
    state = output_state::ended;
    why_not = "the program has ended";
}

sound_lock::sound_lock() { sdl_side::lock_sound(); }
sound_lock::~sound_lock() { sdl_side::unlock_sound(); }

}  // namespace kavex::detail
