// Private to the library (and to kavex-check): the pictures of a run. With
// KAVEX_FRAMES=DIR in the environment, each picture that `refresh` shows
// and that differs from the one shown before is written to DIR as a PNG
// named by its place in the run: 000042.png is the picture shown after the
// run's 42nd input event (run_input.hpp), 000042-2.png the next different
// one before the 43rd. DIR/frames.txt lists them, one a line:
//
//   42 000042.png 400 400 9c1d53a0b2e4f711
//
// the event, the file, the width, the height, and a checksum of the picture
// (FNV-1a, 64 bits, of its red, green and blue bytes, row after row), which
// is equal for equal pictures whatever PNG encoder wrote them.
#pragma once

#include "graphics.hpp"

#include <cstddef>
#include <cstdint>
#include <string>

namespace kavex::run_frames {

inline constexpr const char* list_name = "frames.txt";

// Reads the environment and starts the list; a folder that cannot be
// written is said once, and the program runs on without pictures.
void prepare();
// The window's surface, just shown.
void shown(SDL_Surface* window);

// The checksum of a picture's red, green and blue bytes.
std::uint64_t checksum(const std::uint8_t* rgb, std::size_t size);
std::string checksum_text(std::uint64_t sum);

}  // namespace kavex::run_frames
