// The output window: one object, opened at 32 bits, and SDL started before main.
#include "process.hpp"
#include "support.hpp"

#include <gtest/gtest.h>

#include <dlfcn.h>

using kavex::gout;
using kavex::groutput;

TEST(Window, IsOneObjectAndGoutIsIt) {
    EXPECT_EQ(&groutput::instance(), &groutput::instance());
    EXPECT_EQ(&gout, &groutput::instance());
    EXPECT_NE(SDL_WasInit(SDL_INIT_VIDEO | SDL_INIT_TIMER), 0u) << "SDL is started before main";
}

TEST(Window, OpenGivesA32BitSurfaceAndCentresThePen) {
    ASSERT_TRUE(gout.open(400, 400, false));
    ASSERT_NE(gout.surface, nullptr);
    EXPECT_EQ(gout.surface, SDL_GetVideoSurface());
    EXPECT_EQ(gout.surface->w, 400);
    EXPECT_EQ(gout.surface->h, 400);
    EXPECT_EQ(gout.surface->format->BitsPerPixel, 32);
    EXPECT_EQ(test::pen(gout), test::point(200, 200));

    ASSERT_TRUE(gout.open(401, 301, false));
    EXPECT_EQ(gout.surface->w, 401);
    EXPECT_EQ(test::pen(gout), test::point(200, 150));
}

TEST(Window, FailedOpenLeavesNoSurfaceButCentresThePen) {
    EXPECT_FALSE(gout.open(70000, 20, false));
    EXPECT_EQ(gout.surface, nullptr);
    EXPECT_EQ(test::pen(gout), test::point(35000, 10));
    // Drawing and refreshing without a window do nothing.
    gout << kavex::move_abs(1, 1) << kavex::dot << kavex::line_abs(5, 5) << kavex::refresh;
    EXPECT_EQ(test::pen(gout), test::point(35000, 10));
}

TEST(Window, DrawsIntoTheVideoSurface) {
    ASSERT_TRUE(gout.open(400, 400, false));
    test::fill(gout.surface, 0);
    gout << kavex::use_color(255, 0, 0) << kavex::move_abs(399, 399) << kavex::dot;
    kavex::canvas& plain = gout;
    plain << kavex::refresh;  // through a canvas&, the window's own refresh
    EXPECT_EQ(test::pixel_at(gout.surface, 399, 399), 0xFF0000u);
    EXPECT_EQ(test::changed(gout.surface).size(), 1u) << "the picture survives a refresh";
}

// Run this very test program again with a video driver that does not exist:
// its static initialisation must end the process with status 1, silently.
TEST(Window, ProcessExitsWithStatusOneAndNoOutputWhenSDLCannotStart) {
    const test::finished run = test::run_self({}, {"SDL_VIDEODRIVER=no-such-driver"});
    ASSERT_TRUE(WIFEXITED(run.status));
    EXPECT_EQ(WEXITSTATUS(run.status), 1);
    EXPECT_EQ(run.output, "");
}

// Counts the flips that reach SDL, then makes SDL's own.
namespace {
int flips = 0;
}
extern "C" int SDL_Flip(SDL_Surface* screen) {
    ++flips;
    using flip_function = int (*)(SDL_Surface*);
    static const auto real_flip = reinterpret_cast<flip_function>(dlsym(RTLD_NEXT, "SDL_Flip"));
    return real_flip(screen);
}

// A beginner's canvas& to the window is the window: open opens it, and
// refresh (also on a copy of gout, which shares its surface) shows it.
TEST(Window, IsTheWindowThroughACanvasReferenceAndACopy) {
    kavex::canvas& screen = gout;
    ASSERT_TRUE(screen.open(200, 100));
    ASSERT_EQ(gout.surface, SDL_GetVideoSurface()) << "the window's own open ran";
    EXPECT_EQ(gout.surface->w, 200);
    EXPECT_EQ(gout.surface->h, 100);
    EXPECT_EQ(test::pen(gout), test::point(100, 50));

    kavex::canvas copy = gout;
    const int before = flips;
    copy << kavex::refresh;
    screen.refresh();
    EXPECT_EQ(flips, before + 2);

    kavex::canvas other(200, 100);  // not the window: opens its own surface, shows nothing
    EXPECT_NE(other.surface, gout.surface);
    other.refresh();
    EXPECT_EQ(flips, before + 2);
}

TEST(Window, TitleIsTheProgramsNameUntilSet) {
    char* title = nullptr;
    char* icon = nullptr;
    SDL_WM_GetCaption(&title, &icon);
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(std::string(title), "window_test");
    gout.set_title("Pontszám: 3");
    SDL_WM_GetCaption(&title, &icon);
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(std::string(title), "Pontszám: 3");
}
