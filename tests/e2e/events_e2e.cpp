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
using x11::printed;

// Waits end as soon as what they wait for comes; their limits only stop a
// test whose program is stuck, so they are generous enough for a machine
// whose cores are all busy with other work.
constexpr milliseconds window_timeout{20000};
constexpr milliseconds exit_timeout{5000};

// The events example's colours.
constexpr std::uint32_t background = 0x141E3C;
constexpr std::uint32_t frame_grey = 0xC8C8C8;

std::vector<std::string> lines_of(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

bool starts_with(const std::string& s, const std::string& prefix) { return s.rfind(prefix, 0) == 0; }

// Ticks come once a second whatever the user does; they are checked apart,
// and so are the right arrows that waited for the keyboard. SDL may report
// the pointer's arrival and its motion both, so a move repeated at once
// counts as one.
std::vector<std::string> user_lines(const std::vector<std::string>& lines) {
    std::vector<std::string> out;
    for (const std::string& line : lines) {
        if (starts_with(line, "tick:") || line.find("key_right") != std::string::npos) continue;
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
    const Window w = app->wait_for_window(window_timeout);
    ASSERT_NE(w, None) << "no window appeared";
    const char* provider = std::getenv("KAVEX_EXPECT_SDL");
    EXPECT_EQ(app->sdl_provider(), provider ? provider : "");

    // The keyboard follows the pointer. Like a user, move in, then type: the
    // compatibility library settles its keyboard focus some time after the
    // pointer comes in, so a right arrow is tapped until it shows that keys
    // arrive (those lines are left out below).
    x.move_pointer(w, 120, 45);
    ASSERT_TRUE(printed(*app, "mouse move: mouse_x=120 mouse_y=45\n", window_timeout)) << app->output();
    const auto typing_deadline = x11::clock::now() + window_timeout;
    do {
        x.tap(XK_Right);
    } while (!printed(*app, "key release: key=-65538 (-0x10002) key_right\n", milliseconds(100)) &&
             x11::clock::now() < typing_deadline);
    x.tap(XK_space);
    x.tap(XK_Left);
    x.tap(XK_a);
    x.tap_shifted(XK_a);
    x.move_pointer(w, 200, 150);
    // The compatibility library drops a click that it takes within 10 ms of
    // a focus change, as a click that only focuses the window: the click
    // waits until the move has come through, long after the focus changed.
    ASSERT_TRUE(printed(*app, "mouse move: mouse_x=200 mouse_y=150\n", window_timeout)) << app->output();
    x.click(1);
    ASSERT_TRUE(printed(*app, "button release: button=-1 mouse_x=200 mouse_y=150\n", window_timeout))
        << app->output();
    // Let the one-second timer tick once.
    EXPECT_TRUE(printed(*app, "tick: ticks=", window_timeout)) << "a tick a second";
    x.close_request(w);
    EXPECT_EQ(app->wait_exit(exit_timeout), 0) << "a close request ends it with status 0";
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

// On a high-density screen the compatibility library can show a window at
// twice its size, each pixel as a sharp 2 x 2 block, while the program keeps
// drawing and reading the pointer in its own pixels.
TEST(HighDensityScreen, TheCompatibilityLibraryScalesTheWindowSharplyAndThePointerBack) {
    const char* provider = std::getenv("KAVEX_EXPECT_SDL");
    if (!provider || std::string(provider) != "compat")
        GTEST_SKIP() << "window scaling is a setting of the compatibility library only; the classic one ignores it";
    const std::vector<std::string> scaled = {"SDL12COMPAT_WINDOW_SCALING=2", "SDL12COMPAT_SCALE_METHOD=nearest"};
    x11::session x;
    ASSERT_TRUE(x.ok());

    auto snow = x.start(KAVEX_STARSNOW, {}, scaled);
    ASSERT_TRUE(snow);
    const Window snow_window = snow->wait_for_window(window_timeout);
    ASSERT_NE(snow_window, None);
    XWindowAttributes attr;
    ASSERT_TRUE(XGetWindowAttributes(x.display(), snow_window, &attr));
    EXPECT_EQ(attr.width, 800) << "starsnow's 400 x 400 shown twice as large";
    EXPECT_EQ(attr.height, 800);
    x.close_request(snow_window);
    EXPECT_EQ(snow->wait_exit(exit_timeout), 0);

    // The events example (320 x 200) fits on the test's screen when scaled,
    // so its picture can be read back.
    auto app = x.start(KAVEX_EVENTS, {}, scaled);
    ASSERT_TRUE(app);
    const Window w = app->wait_for_window(window_timeout);
    ASSERT_NE(w, None);
    x11::image img;
    const auto deadline = x11::clock::now() + window_timeout;
    do {
        img = x.grab(w);
    } while (!(img.width == 640 && img.at(20, 20) == frame_grey) && x11::clock::now() < deadline);
    ASSERT_EQ(img.width, 640);
    ASSERT_EQ(img.height, 400);
    // Its frame line on row 10 is exactly window rows 20 and 21: no blur.
    EXPECT_EQ(img.at(100, 19), background);
    EXPECT_EQ(img.at(100, 20), frame_grey);
    EXPECT_EQ(img.at(100, 21), frame_grey);
    EXPECT_EQ(img.at(100, 22), background);
    EXPECT_EQ(img.count(frame_grey) + img.count(background), 640 * 400) << "only its two colours";
    int uneven_blocks = 0;
    for (int y = 0; y < 400; y += 2)
        for (int col = 0; col < 640; col += 2) {
            const std::uint32_t p = img.at(col, y);
            uneven_blocks += img.at(col + 1, y) != p || img.at(col, y + 1) != p || img.at(col + 1, y + 1) != p;
        }
    EXPECT_EQ(uneven_blocks, 0) << "each of its pixels is a 2 x 2 block";

    // Window column 600, row 300 is the program's pixel (300, 150).
    x.move_pointer(w, 600, 300);
    EXPECT_TRUE(printed(*app, "mouse move: mouse_x=300 mouse_y=150\n", window_timeout)) << "it printed:\n"
                                                                                       << app->output();
    x.close_request(w);
    EXPECT_EQ(app->wait_exit(exit_timeout), 0);
}

}  // namespace
