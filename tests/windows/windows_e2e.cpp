// The Windows programs of the package under Wine, in the test's X server, as
// a user would meet them: the window with its picture, space presses once a
// click has given the window the keyboard, the wind both ways, and a close
// request that ends them with status 0.
#include "snow_watch.hpp"

#include <X11/keysym.h>

#include <string>
#include <vector>

namespace {

using namespace snow_watch;

const std::vector<std::string> quiet_wine = {"WINEDEBUG=-all", "WINEDLLOVERRIDES=mscoree,mshtml="};

// Wine closes a window and ends its process in about two seconds; a busy
// machine may take several times that.
constexpr milliseconds wine_exit_patience{30000};

void expect_runs_under_wine(const std::string& exe, int presses, double white_added_at_least, bool bordered) {
    x11::session x;
    ASSERT_TRUE(x.ok());
    snow s = launch(x, KAVEX_WINE, false, quiet_wine, {exe});
    ASSERT_NE(s.window, None);
    const x11::image first = next_frame(x, s);
    ASSERT_EQ(first.width, side);
    ASSERT_EQ(first.height, side);
    if (bordered) {
        EXPECT_TRUE(border_is_exact(first)) << "the dark blue border";
    }
    EXPECT_GT(first.count(white), 0) << "flakes";

    // With no window manager, Wine gives the window the keyboard when it is
    // clicked. The middle column sets no wind.
    x.move_pointer(s.window, 200, 200);
    x.click(1);
    next_frame(x, s);
    const double white_before = mean_white_pixels(x, s);
    for (int i = 0; i < presses; ++i) x.tap(XK_space);
    for (int i = 0; i < 12; ++i) next_frame(x, s);  // from row 0 into sight
    EXPECT_GE(mean_white_pixels(x, s) - white_before, white_added_at_least) << "space adds flakes";

    EXPECT_GT(drift_at(x, s, 380, 10), 0.5) << "the pointer right of the middle: wind +1.8";
    EXPECT_LT(drift_at(x, s, 20, 10), -0.5) << "left of it: wind -1.8";
    close_and_expect_clean_exit(x, s, wine_exit_patience);
}

}  // namespace

TEST(WindowsEndToEnd, StarsnowRunsUnderWine) {
    expect_runs_under_wine(KAVEX_WINDOWS_BIN "/starsnow.exe", 3, 300, true);
}

TEST(WindowsEndToEnd, DotsnowRunsUnderWine) {
    expect_runs_under_wine(KAVEX_WINDOWS_BIN "/dotsnow.exe", 1, 60, false);
}
