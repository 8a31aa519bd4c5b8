// Private to the SDL sides that sound through SDL 1.2's audio (the
// desktop's, and the web page's SDL): its one device, which asks the mixer
// for frames as it plays them, on a thread of its own on the desktop.
//
//   if (!sdl_audio::open(fill, reason)) ...   // reason: SDL's word
//   if (sdl_audio::is_open()) SDL_LockAudio();
//   sdl_audio::close();                       // nothing when not open
#pragma once

#include "sdl_side.hpp"

#include <string>

namespace kavex::sdl_audio {

// Opens the device for the mixer's 16-bit stereo at its rate, and starts it.
bool open(sdl_side::sound_filler fill, std::string& reason);
bool is_open();
void close();

}  // namespace kavex::sdl_audio
