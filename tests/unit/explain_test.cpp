// KAVEX_EXPLAIN=1: each kind of silent mistake is explained once, on standard
// error, with its numbers; without the variable nothing is written. The
// mistakes run in a process of their own, this test program run again.
#include "process.hpp"

#include "graphics.hpp"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <string>

using namespace kavex;

namespace {

// Every kind of mistake, each made twice.
void make_every_mistake_twice() {
    for (int twice = 0; twice < 2; ++twice) {
        canvas closed;
        closed << move_abs(1, 1) << dot;                       // drawing before open
        canvas too_large;
        too_large.open(100000, 10);                            // an open that fails
        canvas c(100, 50);
        c << move_abs(150, 20);                                // a move outside
        c << move_abs(90, 40) << box_abs(120, 45);             // a box partly outside
        c << move_abs(10, 5);
        c.draw_text(from_utf8("hő"));                          // no room above the pen
        c << move_abs(80, 30);
        c.draw_text("too long here");                          // cut at the right edge
        c.save("/no-such-folder/picture.bmp");                 // a save that fails
        canvas loaded;
        loaded.load("/no-such-folder/picture.png");            // a load that fails
        groutput::instance().refresh();                        // the window never opened
    }
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    SDL_PushEvent(&quit);
    event ev;
    for (int i = 0; i < 300; ++i) gin.wait_event(ev);         // waits after the close
}

int count_of(const std::string& text, const std::string& part) {
    int n = 0;
    for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
    return n;
}

test::finished run_mistakes(const std::string& explain) {
    return test::run_self({"--gtest_filter=Explain.MistakesOfEveryKind"},
                          {"KAVEX_MAKE_MISTAKES=1", "KAVEX_EXPLAIN=" + explain});
}

}  // namespace

TEST(Explain, MistakesOfEveryKind) {
    if (std::getenv("KAVEX_MAKE_MISTAKES")) return make_every_mistake_twice();

    const test::finished run = run_mistakes("1");
    ASSERT_TRUE(WIFEXITED(run.status) && WEXITSTATUS(run.status) == 0) << run.output;
    const std::string expected[] = {
        "kavex: a move of the pen on a canvas that has no surface",
        "kavex: open(100000, 10) failed: the library draws on at most 16383 x 32767 pixels",
        "kavex: the pen cannot move to (150, 20): the surface is 100 x 50, so x must lie in 0..99 and y in 0..49",
        "kavex: a box from the pen (90, 40) to (120, 45) was left out",
        "kavex: the text \"hő\" was not drawn: with the pen on row 5",
        "kavex: the text \"too long here\" was cut short: it reached the right edge of the surface, which is 100 pixels wide",
        "kavex: save(\"/no-such-folder/picture.bmp\") failed: No such file or directory",
        "kavex: load(\"/no-such-folder/picture.png\") failed: the file cannot be read (No such file or directory)",
        "kavex: refresh of a window that is not open",
        "kavex: wait_event was called 100 times after the window was closed",
    };
    for (const auto& line : expected) EXPECT_EQ(count_of(run.output, line), 1) << line << "\nin:\n" << run.output;
    EXPECT_EQ(count_of(run.output, "kavex: "), static_cast<int>(std::size(expected))) << run.output;

    for (const std::string off : {"", "0"}) {
        const test::finished quiet = run_mistakes(off);
        EXPECT_TRUE(WIFEXITED(quiet.status) && WEXITSTATUS(quiet.status) == 0);
        EXPECT_EQ(count_of(quiet.output, "kavex:"), 0) << "KAVEX_EXPLAIN=" << off << ":\n" << quiet.output;
    }
}

// Mistakes that a first trial by students found.
void make_newer_mistakes() {
    canvas c;
    c.open(-5, 10);                                           // a size that went negative
    c.open(100, 50);
    c << move_abs(2, 20);
    c.draw_text("Pontszám");                                  // UTF-8 as it stands
    std::raise(SIGINT);                                        // the first Ctrl-C
}

TEST(Explain, NegativeSizesUtf8TextAndTheFirstCtrlC) {
    if (std::getenv("KAVEX_MAKE_MISTAKES")) return make_newer_mistakes();
    const test::finished run = test::run_self({"--gtest_filter=Explain.NegativeSizesUtf8TextAndTheFirstCtrlC"},
                                              {"KAVEX_MAKE_MISTAKES=1", "KAVEX_EXPLAIN=1"});
    ASSERT_TRUE(WIFEXITED(run.status) && WEXITSTATUS(run.status) == 0) << run.output;
    for (const std::string line : {
             "kavex: open(-5, 10) failed: a size cannot be negative",
             "kavex: the text \"PontszĂĄm\" looks like UTF-8",
             "a second Ctrl-C ends the program at once",
         })
        EXPECT_EQ(count_of(run.output, line), 1) << line << "\nin:\n" << run.output;
}

TEST(Explain, SDLThatCannotStartSaysWhyThenEndsWithStatusOne) {
    const test::finished run = test::run_self({}, {"SDL_VIDEODRIVER=no-such-driver", "KAVEX_EXPLAIN=1"});
    ASSERT_TRUE(WIFEXITED(run.status));
    EXPECT_EQ(WEXITSTATUS(run.status), 1);
    EXPECT_EQ(count_of(run.output, "kavex: SDL could not start ("), 1) << run.output;
}
