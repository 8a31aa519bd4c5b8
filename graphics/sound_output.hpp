// Private to the library: the sound output, started by a program's first
// sound and never before, and the one mixer that feeds it.
//
//   if (!sound_output_ready()) return false;   // why: sound_output_why_not()
//   sound_lock lock;                           // the audio thread waits meanwhile
//   sound_mixer().start(clip, owner, 100, false);
#pragma once

#include "mixer.hpp"

#include <string>

namespace kavex::detail {

// Starts the output if it is not yet; true when sounds can be heard. Once it
// failed it stays off, unless it failed only because a page's visitor has
// not clicked or typed yet.
bool sound_output_ready();
// Why the output is off, in words that follow "no sound: ".
const std::string& sound_output_why_not();
// The mixer; its calls other than mix() want a sound_lock.
mixer& sound_mixer();
// Stops every sound and the output, for good: at process exit.
void end_sound();

// Holds the side's sound lock (sdl_side.hpp) while it lives.
class sound_lock {
public:
    sound_lock();
    ~sound_lock();
    sound_lock(const sound_lock&) = delete;
    sound_lock& operator=(const sound_lock&) = delete;
};

}  // namespace kavex::detail
