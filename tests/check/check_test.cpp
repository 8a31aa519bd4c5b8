// Checking programs without a display: replays that match byte for byte
// under both SDL providers, a hand-written transcript that plays snake, and
// kavex-check's three answers, for one program and for a folder.
#include <gtest/gtest.h>

#define STB_IMAGE_IMPLEMENTATION
#include <stb_image.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

struct finished {
    int status = -1;
    std::string output;
};

// A shell command with no display; its exit status and all it printed.
finished shell(const std::string& command) {
    finished f;
    FILE* p = popen(("env -u DISPLAY " + command + " 2>&1").c_str(), "r");
    if (!p) return f;
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, p)) > 0;) f.output.append(buffer, n);
    const int status = pclose(p);
    f.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return f;
}

std::string contents(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream all;
    all << in.rdbuf();
    return all.str();
}

class Check : public ::testing::Test {
protected:
    void SetUp() override {
        folder = fs::temp_directory_path() / ("kavex-check-test-" + std::to_string(getpid()));
        fs::remove_all(folder);
        fs::create_directories(folder);
        std::ofstream(folder / "pong.txt") << "kavex run 1\n"
                                              "hold w 20 every 20   # the paddle up\n"
                                              "ticks 40 every 20\n"
                                              "hold s 30 every 20   # and down\n"
                                              "move 200 150\nclick 1 200 150\n";
    }
    void TearDown() override { fs::remove_all(folder); }

    std::string check(const std::string& arguments) {
        return std::string(KAVEX_CHECK) + " " + KAVEX_CHECK_OPTIONS + " " + arguments;
    }

    std::string replay(const std::string& program, const std::string& transcript, const fs::path& frames,
                       const std::string& provider_path = "") {
        fs::create_directories(frames);
        return "env " + (provider_path.empty() ? std::string("-u LD_LIBRARY_PATH") : "LD_LIBRARY_PATH=" + provider_path) +
               " KAVEX_REPLAY=" + transcript + " KAVEX_FRAMES=" + frames.string() + " " + program;
    }

    fs::path folder;
};

TEST_F(Check, ReplaysGiveTheSamePicturesByteForByteUnderBothProviders) {
    const std::string transcript = (folder / "pong.txt").string();
    std::string lists[4];
    for (int i = 0; i < 4; ++i) {
        const fs::path frames = folder / ("frames" + std::to_string(i));
        const finished run = shell(replay(KAVEX_PONG, transcript, frames, i < 2 ? "" : KAVEX_COMPAT_DIR));
        ASSERT_EQ(run.status, 0) << run.output;
        lists[i] = contents(frames / "frames.txt");
    }
    EXPECT_GT(std::count(lists[0].begin(), lists[0].end(), '\n'), 50) << lists[0];
    for (int i = 1; i < 4; ++i) EXPECT_EQ(lists[i], lists[0]) << "replay " << i;
    // The pictures too, not only their checksums.
    EXPECT_EQ(contents(folder / "frames0" / "000090.png"), contents(folder / "frames3" / "000090.png"));
}

// From (5, 7), heading right: down two, right seven, up two, onto the food
// at (12, 7). The snake's green cells are 18 x 18 pixels.
TEST_F(Check, AHandWrittenTranscriptDrivesSnakeToEatItsFood) {
    std::ofstream(folder / "snake.txt") << "kavex run 1\npress down\nticks 2 every 120\npress right\nticks 7 every 120\n"
                                           "press up\nticks 2 every 120\n";
    const fs::path frames = folder / "snake";
    const finished run = shell(replay(KAVEX_SNAKE, (folder / "snake.txt").string(), frames));
    ASSERT_EQ(run.status, 0) << run.output;
    std::istringstream list(contents(frames / "frames.txt"));
    std::string line, last;
    while (std::getline(list, line)) last = line;
    int w = 0, h = 0, channels = 0;
    unsigned char* rgb = stbi_load((frames / last.substr(last.find(' ') + 1, 10)).c_str(), &w, &h, &channels, 3);
    ASSERT_NE(rgb, nullptr) << last;
    int green = 0;
    for (int i = 0; i < w * h; ++i) green += rgb[3 * i] == 100 && rgb[3 * i + 1] == 220 && rgb[3 * i + 2] == 60;
    stbi_image_free(rgb);
    EXPECT_EQ(green, 4 * 18 * 18) << "a snake of 3 cells that ate grows to 4";
}

TEST_F(Check, SameDifferentOrCrashedForOneProgram) {
    const std::string transcript = (folder / "pong.txt").string();
    const finished same = shell(check(transcript + " " + KAVEX_PONG + " " + KAVEX_PONG));
    EXPECT_EQ(same.status, 0) << same.output;

    const fs::path picture = folder / "difference.png", json = folder / "report.json";
    const finished different = shell(check("--difference " + picture.string() + " --json " + json.string() + " " +
                                           transcript + " " + KAVEX_PONG + " " + KAVEX_CHANGED_PONG));
    EXPECT_EQ(different.status, 1) << different.output;
    EXPECT_NE(different.output.find("the pictures first differ after input event 2 (picture 1): "), std::string::npos)
        << different.output;  // the ball is yellow from the first picture on, after the first tick
    int w = 0, h = 0, channels = 0;
    EXPECT_TRUE(stbi_info(picture.c_str(), &w, &h, &channels)) << "no difference picture";
    EXPECT_EQ(w, 3 * 400 + 16);
    EXPECT_NE(contents(json).find("\"result\": \"different\""), std::string::npos) << contents(json);

    const finished crashed = shell(check(transcript + " " + KAVEX_PONG + " " + KAVEX_CRASHES));
    EXPECT_EQ(crashed.status, 2) << crashed.output;
    EXPECT_NE(crashed.output.find(std::string(KAVEX_CRASHES) + ": the program "), std::string::npos) << crashed.output;
}

TEST_F(Check, AFolderIsCheckedWholeWhateverOneSubmissionDoes) {
    const fs::path submissions = folder / "submissions", out = folder / "report";
    fs::create_directories(submissions / "built");
    fs::copy_file(KAVEX_PONG, submissions / "same");
    fs::copy_file(KAVEX_CHANGED_PONG, submissions / "changed");
    fs::copy_file(KAVEX_CRASHES, submissions / "crashes");
    fs::copy_file(KAVEX_PONG_SOURCE, submissions / "built" / "main.cpp");
    std::ofstream(submissions / "broken.cpp") << "int main() { return missing; }\n";
    std::ofstream(submissions / "README.txt") << "not a submission\n";

    const finished run = shell(check("--out " + out.string() + " --junit " + (folder / "junit.xml").string() + " " +
                                     (folder / "pong.txt").string() + " " + KAVEX_PONG + " " + submissions.string()));
    EXPECT_EQ(run.status, 1) << run.output;
    const std::string csv = contents(out / "results.csv");
    for (const char* row : {"\n\"broken\",failed,0,0,0,0,", "\n\"built\",same,", "\n\"changed\",different,",
                            "\n\"crashes\",failed,", "\n\"same\",same,"})
        EXPECT_NE(csv.find(row), std::string::npos) << row << " in\n" << csv;
    EXPECT_NE(csv.find("did not compile"), std::string::npos) << csv;
    EXPECT_EQ(csv.find("README"), std::string::npos) << csv;
    EXPECT_TRUE(fs::exists(out / "changed.png"));
    EXPECT_NE(contents(out / "results.html").find("<img src=\"changed.png\""), std::string::npos);
    EXPECT_NE(contents(folder / "junit.xml").find("tests=\"5\" failures=\"1\" errors=\"2\""), std::string::npos)
        << contents(folder / "junit.xml");
}

TEST_F(Check, AnAnimationOfARunAtThePaceOfItsTicks) {
    const fs::path gif = folder / "pong.gif";
    const finished run = shell(check("--animate " + gif.string() + " " + (folder / "pong.txt").string() + " " + KAVEX_PONG));
    ASSERT_EQ(run.status, 0) << run.output;
    const std::string bytes = contents(gif);
    ASSERT_EQ(bytes.substr(0, 6), "GIF89a");
    // Each picture's delay, in hundredths, from its graphic control block.
    std::vector<int> delays;
    for (std::size_t at = bytes.find("\x21\xF9\x04"); at != std::string::npos; at = bytes.find("\x21\xF9\x04", at + 1))
        delays.push_back(static_cast<unsigned char>(bytes[at + 4]) | static_cast<unsigned char>(bytes[at + 5]) << 8);
    // 90 ticks 20 ms apart, at most 10 pictures a second: one each 100 ms
    // from the first tick's picture at 20 ms, and the last at 1800 ms.
    ASSERT_EQ(delays.size(), 19u);
    for (std::size_t i = 0; i + 2 < delays.size(); ++i) EXPECT_EQ(delays[i], 10) << i;
    EXPECT_EQ(delays[17], 8);
    EXPECT_EQ(delays[18], 100) << "the last picture stays a second";
}

}  // namespace
