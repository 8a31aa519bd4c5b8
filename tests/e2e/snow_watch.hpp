// Test helpers for the snow programs in a real X server, watched as a user
// would see them: the window found, its refreshes counted, its frames read
// while the program is held still, the flakes' drift measured.
#pragma once

#include <gtest/gtest.h>  // before Xlib, whose macros clash with it

#include "x11_session.hpp"

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace snow_watch {

using x11::milliseconds;

constexpr std::uint32_t black = 0x000000;
constexpr std::uint32_t white = 0xFFFFFF;
constexpr std::uint32_t border_blue = 0x000032;
constexpr int side = 400;
// Waits for a window, a picture or a refresh end as soon as it comes; their
// limits only stop a test whose program is stuck, so they are generous
// enough for a machine whose cores are all busy with other work.
constexpr milliseconds frame_timeout{10000};

inline std::string expected_provider() {
    const char* p = std::getenv("KAVEX_EXPECT_SDL");
    return p ? p : "";
}

// A snow program running in the test's X server, its window found and its
// refreshes counted.
struct snow {
    std::unique_ptr<x11::program> app;
    Window window = None;
    std::unique_ptr<x11::refresh_counter> refreshes;
};

// Starts the program, with `env` added to its environment and `args` as its
// arguments; unless
// `from_the_start`, waits for its first picture (SDL may show the empty
// window once before that).
inline snow launch(x11::session& x, const std::string& path, bool from_the_start = false,
            const std::vector<std::string>& env = {}, const std::vector<std::string>& args = {}) {
    snow s;
    s.app = x.start(path, args, env);
    if (!s.app) return s;
    s.window = s.app->wait_for_window();
    // The compatibility library may replace its first window after a while
    // on a busy machine: then the one that follows is the program's.
    if (s.window != None && x.grab(s.window).pixels.empty()) s.window = s.app->wait_for_window();
    if (s.window == None) {
        ADD_FAILURE() << "no window appeared";
        return s;
    }
    EXPECT_EQ(s.app->sdl_provider(), expected_provider());
    s.refreshes = std::make_unique<x11::refresh_counter>(x, s.window);
    if (!from_the_start) {
        const auto deadline = x11::clock::now() + frame_timeout;
        while (x.grab(s.window).all(black) && x11::clock::now() < deadline) s.refreshes->wait_next(frame_timeout);
    }
    return s;
}

// The picture right after the next refresh. The program is held still while
// the window is read, so the frame cannot change under the reader.
inline x11::image next_frame(x11::session& x, snow& s) {
    if (!s.refreshes->wait_next(frame_timeout)) return {};
    s.app->pause();
    x11::image img = x.grab(s.window);
    s.app->resume();
    return img;
}

// A close request ends the program with status 0, and at once: before it
// goes it shows at most the frame under way and the two ticks that may wait,
// whatever the machine's speed. Up to two more refreshes are allowed for
// what the server drew while the request was on its way. A program that
// worked through its backlog of ticks first, when behind, would show dozens.
// `patience` only stops waiting for a program that never ends.
inline void close_and_expect_clean_exit(x11::session& x, snow& s, milliseconds patience = milliseconds(10000)) {
    constexpr int shown_after_close_at_most = 5;
    s.refreshes->pass_over();
    x.close_request(s.window);
    const auto deadline = x11::clock::now() + patience;
    int shown = 0;
    while (s.app->running() && x11::clock::now() < deadline) shown += s.refreshes->count_for(milliseconds(20));
    EXPECT_EQ(s.app->wait_exit(milliseconds(0)), 0) << "a close request ends the program with status 0";
    EXPECT_LE(shown, shown_after_close_at_most) << "refreshes after the close request";
}

// Sideways drift of the flakes while the pointer rests on `column`: the mean
// step per frame, over `frames` frames.
inline double drift_at(x11::session& x, snow& s, int column, int frames = 25) {
    x.move_pointer(s.window, column, 300);
    next_frame(x, s);  // the wind changes with the next event
    x11::image before = next_frame(x, s);
    double sum = 0;
    int pairs = 0;
    for (int i = 0; i < frames; ++i) {
        x11::image after = next_frame(x, s);
        if (after.pixels.empty()) break;
        sum += x11::mean_drift(x11::blobs(before, white), x11::blobs(after, white), side, 8);
        ++pairs;
        before = std::move(after);
    }
    return pairs ? sum / pairs : 0;
}

inline double mean_white_pixels(x11::session& x, snow& s) {
    double sum = 0;
    for (int i = 0; i < 3; ++i) sum += next_frame(x, s).count(white);
    return sum / 3;
}

inline bool border_is_exact(const x11::image& img) {
    if (img.width != side || img.height != side) return false;
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x) {
            const bool on_border = y <= 8 || x <= 8 || y >= 392 || x >= 392;
            if (on_border && img.at(x, y) != border_blue) return false;
        }
    return true;
}

}  // namespace snow_watch
