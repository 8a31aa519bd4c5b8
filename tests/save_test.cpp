// Saving as BMP: every pixel comes back, one file format under both SDL
// providers, and a save that fails leaves whatever file was there before.
#include "support.hpp"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace fs = std::filesystem;
using kavex::canvas;
using bytes = std::vector<std::uint8_t>;

namespace {

// A folder of its own for each test, removed afterwards.
class SaveTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "kavex-save-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        folder = pattern;
        fs::permissions(folder, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                                    fs::perms::others_read | fs::perms::others_exec);
    }
    void TearDown() override {
        for (const auto& entry : fs::recursive_directory_iterator(folder))
            if (entry.is_directory()) fs::permissions(entry.path(), fs::perms::owner_all, fs::perm_options::add);
        fs::remove_all(folder);
    }
    std::string path(const std::string& name) const { return (folder / name).string(); }
    std::set<std::string> listing(const fs::path& where) const {
        std::set<std::string> names;
        for (const auto& entry : fs::directory_iterator(where)) names.insert(entry.path().filename().string());
        return names;
    }

    fs::path folder;
};

// Pixels of every kind, black among them, and one with the unused top byte set.
canvas picture(int w = 37, int h = 23) {
    canvas c(w, h);
    std::uint32_t seed = 12345;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            seed = seed * 1103515245u + 12345u;
            c.pen_x = x;
            c.pen_y = y;
            c.color = (x + y) % 4 == 0 ? 0 : static_cast<std::int32_t>((seed >> 8) & 0xFFFFFF);
            c.draw_dot();
        }
    c.pen_x = c.pen_y = 0;
    c.color = static_cast<std::int32_t>(0xFF123456u);
    c.draw_dot();
    return c;
}

// The file every save must produce: 24 bits per pixel, rows from the bottom
// up, blue-green-red, each row padded to four bytes.
bytes expected_bmp(const SDL_Surface* s) {
    const std::uint32_t row = (3 * s->w + 3) & ~3, image = row * s->h;
    bytes out{'B', 'M'};
    auto put = [&out](std::uint32_t value, int count) {
        for (int i = 0; i < count; ++i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    };
    put(54 + image, 4), put(0, 4), put(54, 4);                        // file header
    put(40, 4), put(s->w, 4), put(s->h, 4), put(1, 2), put(24, 2);     // info header
    put(0, 4), put(image, 4), put(0, 4), put(0, 4), put(0, 4), put(0, 4);
    for (int y = s->h - 1; y >= 0; --y) {
        for (int x = 0; x < s->w; ++x) put(test::pixel_at(s, x, y), 3);
        put(0, static_cast<int>(row) - 3 * s->w);
    }
    return out;
}

bytes read_file(const std::string& name) {
    std::ifstream in(name, std::ios::binary);
    return bytes(std::istreambuf_iterator<char>(in), {});
}

void write_file(const std::string& name, const std::string& text) { std::ofstream(name) << text; }

// Runs `body` in a child process; its result is the child's exit status.
int in_child(const std::function<int()>& body) {
    const pid_t pid = ::fork();
    if (pid == 0) ::_exit(body());
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

constexpr int saved = 1, refused = 0;

}  // namespace

TEST_F(SaveTest, RoundTripKeepsEveryPixelInOneFormat) {
    for (bool keyed : {false, true}) {
        canvas c = picture();
        if (keyed) {  // a transparent copy leaves a colour key on the surface
            c.set_transparent(true);
            canvas elsewhere(40, 40);
            elsewhere.blitfrom(c, 0, 0);
        }
        const std::string name = path(keyed ? "keyed.bmp" : "plain.bmp");
        ASSERT_TRUE(c.save(name));
        EXPECT_EQ(read_file(name), expected_bmp(c.surface)) << "keyed " << keyed;

        SDL_Surface* loaded = SDL_LoadBMP(name.c_str());
        ASSERT_NE(loaded, nullptr) << SDL_GetError();
        SDL_Surface* back = SDL_ConvertSurface(loaded, c.surface->format, 0);
        ASSERT_NE(back, nullptr);
        ASSERT_EQ(back->w, 37);
        ASSERT_EQ(back->h, 23);
        for (int y = 0; y < 23; ++y)
            for (int x = 0; x < 37; ++x)
                ASSERT_EQ(test::pixel_at(back, x, y) & 0xFFFFFF, test::pixel_at(c.surface, x, y) & 0xFFFFFF)
                    << x << "," << y << " keyed " << keyed;
        SDL_FreeSurface(back);
        SDL_FreeSurface(loaded);
    }
}

TEST_F(SaveTest, ReplacesAnEarlierFileKeepingItsPermissionsAndLinks) {
    const canvas c = picture(5, 3);
    const std::string earlier = path("earlier.bmp");
    write_file(earlier, "old");
    ::chmod(earlier.c_str(), 0640);
    ASSERT_TRUE(c.save(earlier));
    EXPECT_EQ(read_file(earlier), expected_bmp(c.surface));
    struct stat info;
    ASSERT_EQ(::stat(earlier.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);

    const std::string link = path("link.bmp");
    fs::create_symlink("earlier.bmp", link);
    const canvas other = picture(4, 4);
    ASSERT_TRUE(other.save(link));
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(read_file(earlier), expected_bmp(other.surface));
    EXPECT_EQ(listing(folder), (std::set<std::string>{"earlier.bmp", "link.bmp"})) << "nothing left behind";
}

TEST_F(SaveTest, FailuresReturnFalseAndLeaveTheEarlierFile) {
    const canvas c = picture(100, 100);  // 30054 bytes
    const std::string earlier = path("earlier.bmp");
    write_file(earlier, "old");
    auto untouched = [&] {
        return read_file(earlier) == bytes{'o', 'l', 'd'} &&
               listing(folder) == std::set<std::string>{"earlier.bmp", "ro"};
    };
    fs::create_directory(folder / "ro");

    SDL_ClearError();  // no earlier SDL error may stand in for the missing stream
    EXPECT_FALSE(c.save(path("missing/picture.bmp")));
    EXPECT_FALSE(c.save(path("earlier.bmp/picture.bmp")));  // a file where a folder should be
    EXPECT_FALSE(c.save(""));
    EXPECT_FALSE(c.save(folder.string()));
    EXPECT_TRUE(untouched());

    // A full device is written directly, and stays the device it is.
    EXPECT_FALSE(c.save("/dev/full"));
    struct stat info;
    ASSERT_EQ(::stat("/dev/full", &info), 0);
    EXPECT_TRUE(S_ISCHR(info.st_mode));

    // The file-size limit cuts the write short part-way; the next save, once
    // the limit is lifted, succeeds.
    const int limited = in_child([&] {
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit;
        ::getrlimit(RLIMIT_FSIZE, &limit);
        const rlim_t before = limit.rlim_cur;
        limit.rlim_cur = 10000;
        if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) return 2;
        if (c.save(earlier)) return saved;
        limit.rlim_cur = before;
        ::setrlimit(RLIMIT_FSIZE, &limit);
        return c.save(path("later.bmp")) ? 10 : 11;
    });
    EXPECT_EQ(limited, 10) << "1: saved despite the limit, 11: the save after it failed";
    EXPECT_EQ(read_file(path("later.bmp")), expected_bmp(c.surface));
    fs::remove(path("later.bmp"));
    EXPECT_TRUE(untouched());

    // A folder without write permission. Root writes anywhere, so the save
    // runs in a child that has given up root for the unprivileged user.
    const std::string locked = path("ro/earlier.bmp");
    write_file(locked, "old");
    fs::permissions(folder / "ro", fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                                       fs::perms::group_exec | fs::perms::others_read | fs::perms::others_exec);
    const int read_only = in_child([&] {
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) return 77;
        return c.save(locked) ? saved : refused;
    });
    if (read_only == 77) GTEST_SKIP() << "cannot give up root here";
    EXPECT_EQ(read_only, refused);
    EXPECT_EQ(read_file(locked), (bytes{'o', 'l', 'd'}));
    EXPECT_EQ(listing(folder / "ro"), std::set<std::string>{"earlier.bmp"});
}

TEST_F(SaveTest, AnEarlierErrorDoesNotSpoilAGoodSave) {
    const canvas c = picture(6, 6);
    EXPECT_FALSE(c.save(path("missing/picture.bmp")));
    EXPECT_TRUE(c.save(path("picture.bmp")));
    SDL_SetError("an error left over from something else");
    EXPECT_TRUE(c.save(path("picture.bmp")));
    EXPECT_EQ(read_file(path("picture.bmp")), expected_bmp(c.surface));
}

// A pipe is written straight into; one that nobody reads fails at once.
TEST_F(SaveTest, WritesIntoAPipeAndNeverWaitsForAReader) {
    const std::string pipe = path("pipe");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    EXPECT_FALSE(picture().save(pipe));

    const canvas c = picture(50, 40);
    bytes received;
    std::thread reader([&] {
        const int fd = ::open(pipe.c_str(), O_RDONLY);
        std::uint8_t buffer[4096];
        for (ssize_t n; (n = ::read(fd, buffer, sizeof buffer)) > 0;) received.insert(received.end(), buffer, buffer + n);
        ::close(fd);
    });
    bool ok = false;
    for (int attempt = 0; attempt < 500 && !ok; ++attempt) {  // until the reader has opened its end
        ok = c.save(pipe);
        if (!ok) ::usleep(2000);
    }
    reader.join();
    EXPECT_TRUE(ok);
    EXPECT_EQ(received, expected_bmp(c.surface));
    EXPECT_TRUE(fs::is_fifo(pipe));
}

TEST_F(SaveTest, ACanvasWithoutASurfaceSavesNothing) {
    const canvas closed;
    EXPECT_FALSE(closed.save(path("nothing.bmp")));
    EXPECT_TRUE(listing(folder).empty());
}
