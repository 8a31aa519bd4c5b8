// The events example in a real X server: real key presses, pointer moves, a
// click and a close request come out as its printed lines.
#include <gtest/gtest.h>  // before Xlib, whose macros clash with it

#include "x11_session.hpp"

#include <X11/keysym.h>

#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

namespace {

using x11::milliseconds;

std::vector<std::string> lines_of(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

bool starts_with(const std::string& s, const std::string& prefix) { return s.rfind(prefix, 0) == 0; }

// Ticks come once a second whatever the user does; they are checked apart.
// SDL may report the pointer's arrival and its motion both, so a move
// repeated at once counts as one.
std::vector<std::string> user_lines(const std::vector<std::string>& lines) {
    std::vector<std::string> out;
    for (const std::string& line : lines) {
        if (starts_with(line, "tick:")) continue;
        if (!out.empty() && starts_with(line, "mouse move:") && line == out.back()) continue;
        out.push_back(line);
    }
    return out;
}

TEST(EventsEndToEnd, PrintsOneLinePerRealInputAndEndsOnACloseRequest) {
    x11::session x;
    ASSERT_TRUE(x.ok());
    auto app = x.start(KAVEX_EVENTS);
    ASSERT_TRUE(app);
    const Window w = app->wait_for_window();
    ASSERT_NE(w, None) << "no window appeared";
    const char* provider = std::getenv("KAVEX_EXPECT_SDL");
    EXPECT_EQ(app->sdl_provider(), provider ? provider : "");

    // The keyboard follows the pointer. Like a user, move in, then type: the
    // compatibility library settles its keyboard focus some time after the
    // pointer comes in.
    x.move_pointer(w, 120, 45);
    app->wait_for_lines(1, milliseconds(1000));
    std::this_thread::sleep_for(milliseconds(250));
    x.tap(XK_space);
    x.tap(XK_Left);
    x.tap(XK_a);
    x.tap_shifted(XK_a);
    x.move_pointer(w, 200, 150);
    // The compatibility library drops a click that follows a focus change
    // within 10 ms, as a click that only focuses the window.
    std::this_thread::sleep_for(milliseconds(50));
    x.click(1);
    app->wait_for_lines(11, milliseconds(3000));
    // Let the one-second timer tick once.
    for (int i = 0; i < 50 && app->output().find("tick:") == std::string::npos; ++i)
        std::this_thread::sleep_for(milliseconds(50));
    x.close_request(w);
    EXPECT_EQ(app->wait_exit(milliseconds(1000)), 0) << "a close request ends it with status 0";
    const auto lines = lines_of(app->wait_for_lines(1000, milliseconds(200)));

    const std::vector<std::string> expected = {
        "mouse move: mouse_x=120 mouse_y=45",
        "key press: key=32 (0x20) ' '",
        "key press: key=65539 (0x10003) key_left",
        "key release: key=-65539 (-0x10003) key_left",
        "key press: key=97 (0x61) 'a'",
        "key press: key=65547 (0x1000B) key_lshift",
        "key press: key=65 (0x41) 'A'",
        "key release: key=-65547 (-0x1000B) key_lshift",
        "mouse move: mouse_x=200 mouse_y=150",
        "button press: button=1 mouse_x=200 mouse_y=150",
        "button release: button=-1 mouse_x=200 mouse_y=150",
        "close",
    };
    EXPECT_EQ(user_lines(lines), expected) << "all it printed:\n" << app->output();

    int ticks = 0;
    for (const std::string& line : lines) {
        if (!starts_with(line, "tick: ticks=")) continue;
        ++ticks;
        EXPECT_GT(std::atoi(line.c_str() + 12), 0) << line;
    }
    EXPECT_GE(ticks, 1) << "a tick a second";
}

}  // namespace
