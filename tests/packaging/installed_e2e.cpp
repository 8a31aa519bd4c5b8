// The games where a package installed them: each program named in
// KAVEX_INSTALLED_PROGRAMS (paths, separated by spaces) opens its window in
// the shared X server, animates, and ends with status 0 on a close request.
// package_test.sh runs this after installing the Debian package.
#include <gtest/gtest.h>  // before Xlib, whose macros clash with it

#include "x11_session.hpp"

#include <cstdlib>
#include <sstream>
#include <string>

namespace {

std::string from_env(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

TEST(InstalledPrograms, EachRunsAnimatesAndEndsOnACloseRequest) {
    std::istringstream paths(from_env("KAVEX_INSTALLED_PROGRAMS"));
    x11::session x;
    ASSERT_TRUE(x.ok());
    int checked = 0;
    for (std::string path; paths >> path; ++checked) {
        SCOPED_TRACE(path);
        auto app = x.start(path);
        ASSERT_TRUE(app);
        const Window w = app->wait_for_window();
        ASSERT_NE(w, None) << "no window appeared";
        EXPECT_EQ(app->sdl_provider(), from_env("KAVEX_EXPECT_SDL"));

        // A 40 ms timer gives 50 frames in two seconds; a loaded machine fewer.
        x11::refresh_counter refreshes(x, w);
        EXPECT_GE(refreshes.count_for(x11::milliseconds(2000)), 10) << "it should animate";
        EXPECT_TRUE(app->running());
        EXPECT_GT(x.grab(w).count(0xFFFFFFu), 0) << "no white flake is to be seen";

        x.close_request(w);
        EXPECT_EQ(app->wait_exit(x11::milliseconds(2000)), 0);
    }
    EXPECT_GT(checked, 0) << "KAVEX_INSTALLED_PROGRAMS names no program";
}

}  // namespace
