// Files read whole: a transcript, a starter program, a picture's bytes, the
// end of what a program printed.
#pragma once

#include <cstddef>
#include <string>

namespace check {

// False when the file cannot be read.
bool read_whole(const std::string& file, std::string& bytes);

// The end of a file, at most `bytes` of it, for a message; empty when it
// cannot be read.
std::string tail_of(const std::string& file, std::size_t bytes);

}  // namespace check
