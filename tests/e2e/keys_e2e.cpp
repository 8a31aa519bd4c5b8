// Keys held down in a real X server: a letter held through XTest is held
// until it goes up, and repeats its press only when the program asked for it.
#include <gtest/gtest.h>  // before Xlib, whose macros clash with it

#include "x11_session.hpp"

#include <X11/keysym.h>

#include <string>

namespace {

using x11::milliseconds;

// Generous: they only stop a test whose program is stuck.
constexpr milliseconds window_timeout{20000};
constexpr milliseconds exit_timeout{5000};
// Long enough for several repeats at 200 ms, then every 50 ms.
constexpr milliseconds held_for{1000};

bool printed(x11::program& app, const std::string& text, milliseconds timeout) {
    const auto deadline = x11::clock::now() + timeout;
    while (app.output().find(text) == std::string::npos) {
        if (x11::clock::now() >= deadline) return false;
        std::this_thread::sleep_for(milliseconds(10));
    }
    return true;
}

int count_of(const std::string& text, const std::string& line) {
    int n = 0;
    for (auto at = text.find(line); at != std::string::npos; at = text.find(line, at + 1)) ++n;
    return n;
}

// Holds A for a second in the probe, started with `args`, and returns how
// many presses of 'a' it printed.
int presses_of_a_held(const std::vector<std::string>& args) {
    x11::session x;
    if (!x.ok()) return -1;
    auto app = x.start(KAVEX_HELD_KEYS, args);
    if (!app) return -1;
    const Window w = app->wait_for_window(window_timeout);
    EXPECT_NE(w, None) << "no window appeared";
    if (w == None) return -1;

    // The keyboard follows the pointer, and the compatibility library
    // settles its focus a while after the pointer comes in: Right is tapped
    // until its press shows that keys arrive.
    x.move_pointer(w, 50, 50);
    const auto deadline = x11::clock::now() + window_timeout;
    do {
        x.tap(XK_Right);
    } while (!printed(*app, "press 65538\n", milliseconds(100)) && x11::clock::now() < deadline);

    x.key_down(XK_a);
    EXPECT_TRUE(printed(*app, "held a=1 A=1\n", window_timeout)) << app->output();
    std::this_thread::sleep_for(held_for);
    x.key_up(XK_a);
    EXPECT_TRUE(printed(*app, "held a=0 A=0\n", window_timeout)) << "the release is seen:\n" << app->output();

    x.close_request(w);
    EXPECT_EQ(app->wait_exit(exit_timeout), 0);
    return count_of(app->output(), "press 97\n");
}

TEST(KeysEndToEnd, AHeldLetterPressesOnceUnlessRepeatWasAskedFor) {
    EXPECT_EQ(presses_of_a_held({}), 1);
    EXPECT_GE(presses_of_a_held({"repeat"}), 2);
}

}  // namespace
