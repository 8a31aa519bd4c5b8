// A run replayed from a transcript: the program sees the events, the held
// keys and the close that the transcript says, no tick of its own timer,
// and its pictures are written one per change.
#include "graphics.hpp"
#include "process.hpp"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

using namespace kavex;

namespace {

// The replayed program: prints each event it gets with whether w is held,
// and draws a dot a tick, so that only ticks change the picture.
void replayed_program() {
    gout.open(40, 30);
    gin.timer(1);  // a replay makes no ticks of its own
    event ev;
    int x = 0;
    while (gin.wait_event(ev)) {
        std::printf("key %d ticks %d mouse %d,%d held %d\n", ev.key, ev.ticks, ev.mouse_x, ev.mouse_y, gin.held('w') ? 1 : 0);
        if (ev.ticks) gout << move_abs(x++, 5) << dot << refresh;
        else gout << refresh;
    }
    std::printf("closed\n");
    std::fflush(stdout);
}

std::string temporary(const std::string& name) {
    const char* base = std::getenv("TMPDIR");
    return std::string(base && *base ? base : "/tmp") + "/kavex-replay-" + std::to_string(getpid()) + "-" + name;
}

void write(const std::string& file, const std::string& text) { std::ofstream(file, std::ios::binary) << text; }

std::string contents(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream all;
    all << in.rdbuf();
    return all.str();
}

test::finished replay(const std::string& transcript, const std::string& frames) {
    // No display at all: a replay must choose SDL's dummy driver itself.
    return test::run_self({"--gtest_filter=Replay.*"},
                          {"KAVEX_REPLAYED_PROGRAM=1", "KAVEX_REPLAY=" + transcript, "KAVEX_FRAMES=" + frames,
                           "SDL_VIDEODRIVER=", "DISPLAY="});
}

}  // namespace

TEST(Replay, TheProgramGetsTheTranscriptsInputAndItsPicturesAreWritten) {
    if (std::getenv("KAVEX_REPLAYED_PROGRAM")) return replayed_program();
    const std::string transcript = temporary("run.txt"), frames = temporary("frames");
    ASSERT_EQ(system(("mkdir -p " + frames).c_str()), 0);
    write(transcript, "kavex run 1\nhold W 2 every 7\nmove 3 4\nticks 1\n");

    const test::finished run = replay(transcript, frames);
    ASSERT_TRUE(WIFEXITED(run.status) && WEXITSTATUS(run.status) == 0) << run.output;
    EXPECT_NE(run.output.find("key 119 ticks 0 mouse 0,0 held 1\n"
                              "key 0 ticks 7 mouse 0,0 held 1\n"
                              "key 0 ticks 14 mouse 0,0 held 1\n"  // the release of w is not reported, but followed:
                              "key 0 ticks 0 mouse 3,4 held 0\n"
                              "key 0 ticks 54 mouse 0,0 held 0\n"
                              "closed\n"),
              std::string::npos)
        << run.output;
    // The first picture (black) after the press, one more after each tick;
    // refreshes that change nothing write nothing.
    const std::string list = contents(frames + "/frames.txt");
    std::istringstream lines(list);
    std::string line, names;
    while (std::getline(lines, line))
        if (line[0] != '#') names += line.substr(0, line.find(' ', line.find(' ') + 1)) + ";";
    EXPECT_EQ(names, "1 000001.png;2 000002.png;3 000003.png;6 000006.png;") << list;
    EXPECT_EQ(run.output.find("key 0 ticks 0 mouse 0,0 held 0\nkey 0 ticks 1"), std::string::npos) << "a tick of its own timer";
    std::remove(transcript.c_str());
    ASSERT_EQ(system(("rm -rf " + frames).c_str()), 0);
}

TEST(Replay, AMalformedTranscriptEndsTheProgramBeforeAnyEventWithItsLine) {
    if (std::getenv("KAVEX_REPLAYED_PROGRAM")) return replayed_program();
    const std::string transcript = temporary("bad.txt");
    write(transcript, "kavex run 1\npress w\nmove 3\n");
    const test::finished run = replay(transcript, temporary("no-such-folder"));
    ASSERT_TRUE(WIFEXITED(run.status));
    EXPECT_EQ(WEXITSTATUS(run.status), 1);
    EXPECT_NE(run.output.find("kavex: cannot replay " + transcript + ": line 3: write move X Y"), std::string::npos) << run.output;
    EXPECT_EQ(run.output.find("key "), std::string::npos) << "half obeyed:\n" << run.output;
    std::remove(transcript.c_str());
}
