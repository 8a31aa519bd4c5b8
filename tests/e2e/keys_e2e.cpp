// Keys held down in a real X server: a letter held through XTest is held
// until it goes up, and repeats its press only when the program asked for
// it; Shift never repeats, on either SDL provider.
#include <gtest/gtest.h>  // before Xlib, whose macros clash with it

#include "x11_session.hpp"

#include <X11/keysym.h>

#include <string>

namespace {

using x11::milliseconds;
using x11::printed;

// Generous: they only stop a test whose program is stuck.
constexpr milliseconds window_timeout{20000};
constexpr milliseconds exit_timeout{5000};
// Long enough for several repeats at 200 ms, then every 50 ms.
constexpr milliseconds held_for{1000};

int count_of(const std::string& text, const std::string& line) {
    int n = 0;
    for (auto at = text.find(line); at != std::string::npos; at = text.find(line, at + 1)) ++n;
    return n;
}

struct presses {
    int of_a = -1;  // 'A', or 'a' should the repeats drop the Shift
    int of_shift = -1;
};

// Holds Shift and A for a second in the probe, started with
// `args`, and counts the presses it printed.
presses presses_while_held(const std::vector<std::string>& args) {
    x11::session x;
    if (!x.ok()) return {};
    auto app = x.start(KAVEX_HELD_KEYS, args);
    if (!app) return {};
    const Window w = app->wait_for_window(window_timeout);
    EXPECT_NE(w, None) << "no window appeared";
    if (w == None) return {};

    // The keyboard follows the pointer, and the compatibility library
    // settles its focus a while after the pointer comes in: Right is tapped
    // until its press shows that keys arrive.
    x.move_pointer(w, 50, 50);
    const auto deadline = x11::clock::now() + window_timeout;
    do {
        x.tap(XK_Right);
    } while (!printed(*app, "press 65538\n", milliseconds(100)) && x11::clock::now() < deadline);

    // Shift first: a key pressed later stops the repeat of the one before.
    x.key_down(XK_Shift_L);
    x.key_down(XK_a);
    EXPECT_TRUE(printed(*app, "held a=1 A=1\n", window_timeout)) << app->output();
    std::this_thread::sleep_for(held_for);
    x.key_up(XK_a);
    EXPECT_TRUE(printed(*app, "held a=0 A=0\n", window_timeout)) << "the release is seen:\n" << app->output();
    x.key_up(XK_Shift_L);

    x.close_request(w);
    EXPECT_EQ(app->wait_exit(exit_timeout), 0);
    const std::string& out = app->output();
    return {count_of(out, "press 97\n") + count_of(out, "press 65\n"), count_of(out, "press 65547\n")};
}

TEST(KeysEndToEnd, AHeldKeyPressesOnceUnlessRepeatWasAskedForAndShiftPressesOnceAnyway) {
    const presses plain = presses_while_held({});
    EXPECT_EQ(plain.of_a, 1);
    EXPECT_EQ(plain.of_shift, 1);
    const presses repeated = presses_while_held({"repeat"});
    EXPECT_GE(repeated.of_a, 2);
    EXPECT_EQ(repeated.of_shift, 1);
}

}  // namespace
