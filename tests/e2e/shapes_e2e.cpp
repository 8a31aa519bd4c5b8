// The shapes example in a real X server: what it draws, and that a close
// request ends it cleanly.
#include <gtest/gtest.h>  // before Xlib, whose macros clash with it

#include "x11_session.hpp"

#include <cstdlib>
#include <thread>

namespace {

std::string expected_provider() {
    const char* p = std::getenv("KAVEX_EXPECT_SDL");
    return p ? p : "";
}

TEST(ShapesEndToEnd, DrawsItsPictureAndEndsOnACloseRequest) {
    x11::session x;
    ASSERT_TRUE(x.ok());
    auto app = x.start(KAVEX_SHAPES);
    ASSERT_TRUE(app);
    const Window w = app->wait_for_window();
    ASSERT_NE(w, None) << "no window appeared";
    EXPECT_EQ(app->sdl_provider(), expected_provider());

    // It draws once, right after opening; wait until the picture is there
    // (at most 20 s, for a machine whose cores are all busy).
    x11::image img;
    const auto deadline = x11::clock::now() + x11::milliseconds(20000);
    do {
        img = x.grab(w);
        if (img.width == 400 && img.at(0, 0) == 0x141E3Cu) break;
        std::this_thread::sleep_for(x11::milliseconds(10));
    } while (x11::clock::now() < deadline);
    ASSERT_EQ(img.width, 400);
    ASSERT_EQ(img.height, 300);
    EXPECT_EQ(img.at(0, 0), 0x141E3Cu) << "background box";
    EXPECT_EQ(img.at(399, 299), 0x141E3Cu);
    EXPECT_EQ(img.at(300, 50), 0xC83C3Cu) << "red box";
    EXPECT_EQ(img.at(260, 30), 0xC83C3Cu);
    EXPECT_EQ(img.at(361, 50), 0x141E3Cu) << "just right of the red box";
    EXPECT_EQ(img.at(320, 200), 0x3CC85Au) << "green box";
    EXPECT_EQ(img.at(260, 110), 0xFFFFFFu) << "first white dot";
    EXPECT_EQ(img.at(262, 110), 0x141E3Cu) << "between two dots";
    EXPECT_EQ(img.at(100, 280), 0xFFC828u) << "the fan's first, flat line";
    EXPECT_EQ(img.at(20, 280), 0xFF44CDu) << "where the fan starts, its last line is on top";

    x.close_request(w);
    EXPECT_EQ(app->wait_exit(x11::milliseconds(5000)), 0) << "a close request ends it with status 0";
}

}  // namespace
