// A run's pictures as an animated GIF (giflib), at the pace of the run's
// own ticks, small enough for a README or a chat.
#pragma once

#include "compare.hpp"

#include <string>
#include <vector>

namespace check {

struct animation {
    int fps = 10;               // at most this many pictures a second
    int scale_percent = 100;    // of the window's size, averaged down
};

// `tick_times[n]` is the time of the run after its nth input event: the
// value of the last tick by then. Writes the pictures of `frames` (in
// `folder`) to `file`; false with the reason when it cannot.
bool write_animation(const std::string& file, const std::string& folder, const std::vector<frame>& frames,
                     const std::vector<long long>& tick_times, const animation& how, std::string& error);

}  // namespace check
