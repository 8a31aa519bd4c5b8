// dotsnow and starsnow in a real X server, watched as a user would see them:
// real input through XTest, real close requests, pixels read back from the
// window and refreshes counted with XDamage.
#include "snow_watch.hpp"

#include <X11/keysym.h>

#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using namespace snow_watch;

// Opened at 400 x 400 and black until the first tick, about 40 ms after the
// start; returns the first twelve pictures read after that, one per refresh.
std::vector<x11::image> first_frames(x11::session& x, const std::string& path) {
    std::vector<x11::image> frames;
    snow s = launch(x, path, true);
    if (s.window == None) return frames;
    const x11::image& opened = s.app->first_look();
    EXPECT_EQ(opened.width, side);
    EXPECT_EQ(opened.height, side);
    // The first tick comes 40 ms after the timer starts, which is after the
    // window was mapped: a look taken less than 30 ms after the last moment
    // the window was certainly unmapped came before it. A look that a busy
    // machine held up longer proves nothing either way.
    if (s.app->first_look_at() - s.app->mapped_after() < milliseconds(30)) {
        EXPECT_TRUE(opened.all(black)) << "nothing is drawn before the first tick";
    }
    // Seen within 5 ms of the map, the window was mapped at most 5 ms before
    // mapped_at(), so the first tick's picture cannot be read earlier than
    // 35 ms after that.
    const bool map_seen_promptly = s.app->mapped_at() - s.app->mapped_after() < milliseconds(5);

    for (int i = 0; i < 30 && frames.size() < 12; ++i) {
        x11::image frame = next_frame(x, s);
        if (frame.pixels.empty()) break;
        if (frames.empty() && frame.all(black)) continue;  // SDL showing the empty window
        if (frames.empty() && map_seen_promptly) {
            EXPECT_GE(x11::clock::now() - s.app->mapped_at(), milliseconds(25))
                << "the first picture comes with the first tick, not with the window";
        }
        frames.push_back(std::move(frame));
    }
    close_and_expect_clean_exit(x, s);
    return frames;
}

// Whether two runs showed the same pictures. Each run's first picture read
// is a few frames in, more on a busy machine, so twelve frames of each are
// compared for any picture in common; a seeded generator would match none.
bool same_start(const std::vector<x11::image>& a, const std::vector<x11::image>& b) {
    for (const x11::image& one : a)
        for (const x11::image& other : b)
            if (one.pixels == other.pixels) return true;
    return false;
}

void expect_wind_follows_the_pointer(const std::string& path) {
    x11::session x;
    ASSERT_TRUE(x.ok());
    snow s = launch(x, path);
    ASSERT_NE(s.window, None);

    // At column 300 the wind is +1 pixel a frame, at 100 -1, at 200 none;
    // the random steps add a jitter of mean 0.
    const double right = drift_at(x, s, 300);
    const double left = drift_at(x, s, 100);
    const double still = drift_at(x, s, 200);
    EXPECT_GT(right, 0.5);
    EXPECT_LT(left, -0.5);
    EXPECT_LT(std::fabs(still), 0.3);
    close_and_expect_clean_exit(x, s);
}

void expect_about_25_refreshes_a_second(const std::string& path) {
    x11::session x;
    ASSERT_TRUE(x.ok());
    snow s = launch(x, path);
    ASSERT_NE(s.window, None);
    // 25 a second over 5 seconds is 125, and never more: SDL's timer keeps
    // to its period on average however late single ticks come, and the
    // library adds none. A busy machine makes them fewer, since the timer
    // thread and the program then wait for a core at every wake-up: beside
    // two busy loops, at a load average of 6 on two cores, this counted 111
    // to 126, and once 67. So the lower bound only tells an animation
    // that keeps going at about its rate (a timer of 125 ms or more, or one
    // that stops, gives fewer than 40) from one that does not.
    const int count = s.refreshes->count_for(milliseconds(5000));
    EXPECT_GE(count, 40);
    EXPECT_LE(count, 140);
    close_and_expect_clean_exit(x, s);
}

// The preloaded wrapper around SDL_Flip makes every refresh take at least
// this long, two timer periods: on any machine, however fast or idle, the
// program is far behind its timer, two ticks always wait and every other one
// is dropped. Longer would only lengthen the wait for the close request.
constexpr int flip_delay_ms = 80;

// With the program far behind its timer, space presses, a pointer move and
// the close request still get through.
void expect_input_gets_through_when_behind(const std::string& path, int presses, int frames_to_fall,
                                           double white_added_at_least) {
    x11::session x;
    ASSERT_TRUE(x.ok());
    snow s = launch(x, path, false,
                    {"LD_PRELOAD=" KAVEX_SLOW_FLIP, "KAVEX_FLIP_DELAY_MS=" + std::to_string(flip_delay_ms)});
    ASSERT_NE(s.window, None);
    // A second holds at most 1000 / 80 such refreshes, on any machine; a
    // busy one only makes them fewer.
    const int refreshes = s.refreshes->count_for(milliseconds(1000));
    ASSERT_LE(refreshes, 1000 / flip_delay_ms + 1) << "the preloaded SDL_Flip did not slow it down";

    x.move_pointer(s.window, 200, 200);  // no wind, and the keyboard reaches the window
    const double white_before = mean_white_pixels(x, s);
    for (int i = 0; i < presses; ++i) x.tap(XK_space);
    for (int i = 0; i < frames_to_fall; ++i) next_frame(x, s);  // from row 0 into sight
    EXPECT_GE(mean_white_pixels(x, s) - white_before, white_added_at_least) << "the space presses got through";
    EXPECT_GT(drift_at(x, s, 380, 8), 0.5) << "the pointer move got through (wind +1.8)";
    close_and_expect_clean_exit(x, s);
}

int inside_count(const x11::image& img, std::uint32_t value) {
    int n = 0;
    for (int y = 9; y < 392; ++y)
        for (int x = 9; x < 392; ++x) n += img.at(x, y) == value;
    return n;
}

// ---------------------------------------------------------------------------

TEST(StarsnowEndToEnd, StartsBlankAndEveryRunShowsTheSameFirstFrame) {
    x11::session x;
    ASSERT_TRUE(x.ok());
    const auto first = first_frames(x, KAVEX_STARSNOW);
    const auto again = first_frames(x, KAVEX_STARSNOW);
    ASSERT_FALSE(first.empty());
    EXPECT_TRUE(border_is_exact(first.front()));
    EXPECT_GT(inside_count(first.front(), white), 0);
    EXPECT_TRUE(same_start(first, again)) << "the generator is never seeded";
}

TEST(StarsnowEndToEnd, EveryFrameHasItsBorderAndStarsOfShortSegments) {
    x11::session x;
    ASSERT_TRUE(x.ok());
    snow s = launch(x, KAVEX_STARSNOW);
    ASSERT_NE(s.window, None);

    for (int frame = 0; frame < 25; ++frame) {
        const x11::image img = next_frame(x, s);
        ASSERT_EQ(img.width, side);
        ASSERT_EQ(img.height, side);
        // Top and left strips 9 pixels thick, bottom and right 8.
        ASSERT_TRUE(border_is_exact(img)) << "frame " << frame;
        // Inside it (so no strip is thicker) only black and white.
        ASSERT_EQ(inside_count(img, white) + inside_count(img, black), 383 * 383) << "frame " << frame;

        // A star is three segments of at most 9 pixels through one centre.
        // Stars that touch make a larger group, but only a few do.
        const auto stars = x11::blobs(img, white);
        int small = 0;
        for (const x11::blob& b : stars) small += b.width() <= 9 && b.height() <= 9;
        EXPECT_GE(small, static_cast<int>(stars.size() * 0.85)) << "frame " << frame;
        EXPECT_GT(stars.size(), 70u) << "about 100 stars, frame " << frame;
    }
    close_and_expect_clean_exit(x, s);
}

TEST(StarsnowEndToEnd, EachSpacePressAddsTenStarsThatComeInBelowTheTopBorder) {
    x11::session x;
    ASSERT_TRUE(x.ok());
    snow s = launch(x, KAVEX_STARSNOW);
    ASSERT_NE(s.window, None);
    x.move_pointer(s.window, 200, 200);  // no wind, and the keyboard reaches the window

    // New stars crowd together and touch, so they are measured by their
    // white pixels: a star shows about 20. Thirty new stars, starting on
    // row 0 and falling about a row a frame, show some 500 white pixels above
    // row 100 after 35 frames.
    auto mean_white = [&](int from_row, int to_row) {
        double sum = 0;
        for (int i = 0; i < 5; ++i) {
            const x11::image img = next_frame(x, s);
            for (int y = from_row; y < to_row; ++y)
                for (int col = 9; col < 392; ++col) sum += img.at(col, y) == white;
        }
        return sum / 5;
    };
    const double top_before = mean_white(9, 100);
    const double rest_before = mean_white(100, 392);
    for (int i = 0; i < 3; ++i) x.tap(XK_space);
    // They come in from under the border.
    for (int i = 0; i < 30; ++i) ASSERT_TRUE(border_is_exact(next_frame(x, s)));
    const double top_added = mean_white(9, 100) - top_before;
    const double rest_added = mean_white(100, 392) - rest_before;
    EXPECT_GE(top_added, 300) << "three presses add thirty stars, not three";
    EXPECT_LE(top_added, 900) << "three presses add thirty stars, not three hundred";
    // Below, the old stars turn and show a little more or less of themselves.
    EXPECT_LT(rest_added, top_added / 2) << "new stars start at the top";
    close_and_expect_clean_exit(x, s);
}

TEST(StarsnowEndToEnd, WindFollowsThePointer) { expect_wind_follows_the_pointer(KAVEX_STARSNOW); }

TEST(StarsnowEndToEnd, RefreshesAbout25TimesASecond) { expect_about_25_refreshes_a_second(KAVEX_STARSNOW); }

TEST(StarsnowEndToEnd, InputAndTheCloseRequestGetThroughWhenItIsBehind) {
    // Thirty stars show some 20 white pixels each once below the border.
    expect_input_gets_through_when_behind(KAVEX_STARSNOW, 3, 30, 300);
}

// ---------------------------------------------------------------------------

TEST(DotsnowEndToEnd, StartsBlankAndEveryRunShowsTheSameFirstFrame) {
    x11::session x;
    ASSERT_TRUE(x.ok());
    const auto first = first_frames(x, KAVEX_DOTSNOW);
    const auto again = first_frames(x, KAVEX_DOTSNOW);
    ASSERT_FALSE(first.empty());
    EXPECT_EQ(first.front().count(white) + first.front().count(black), side * side) << "white dots on black";
    EXPECT_TRUE(same_start(first, again)) << "the generator is never seeded";
}

TEST(DotsnowEndToEnd, ShowsOneDotPerFlakeAndAHundredMorePerSpacePress) {
    x11::session x;
    ASSERT_TRUE(x.ok());
    snow s = launch(x, KAVEX_DOTSNOW);
    ASSERT_NE(s.window, None);

    // Dots may fall on the same pixel, but rarely.
    for (int i = 0; i < 10; ++i) {
        const x11::image img = next_frame(x, s);
        ASSERT_EQ(img.count(white) + img.count(black), side * side);
        EXPECT_LE(img.count(white), 400);
        EXPECT_GE(img.count(white), 390);
    }
    x.move_pointer(s.window, 200, 200);
    x.tap(XK_space);
    // Ticks that waited before the press are drawn first.
    for (int i = 0; i < 20; ++i)
        if (next_frame(x, s).count(white) >= 480) break;
    for (int i = 0; i < 10; ++i) {
        const x11::image img = next_frame(x, s);
        EXPECT_LE(img.count(white), 500);
        EXPECT_GE(img.count(white), 480);
    }
    close_and_expect_clean_exit(x, s);
}

TEST(DotsnowEndToEnd, WindFollowsThePointer) { expect_wind_follows_the_pointer(KAVEX_DOTSNOW); }

TEST(DotsnowEndToEnd, RefreshesAbout25TimesASecond) { expect_about_25_refreshes_a_second(KAVEX_DOTSNOW); }

TEST(DotsnowEndToEnd, InputAndTheCloseRequestGetThroughWhenItIsBehind) {
    // Three hundred dots, some of them on the same pixel as another.
    expect_input_gets_through_when_behind(KAVEX_DOTSNOW, 3, 3, 200);
}

}  // namespace
