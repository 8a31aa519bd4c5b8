// Saving as BMP where POSIX files have more to them: permissions and links
// kept, devices and pipes written in place, and a write cut short by the
// file-size limit or refused by the folder's permissions.
#include "save_support.hpp"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <functional>
#include <set>
#include <string>
#include <thread>

using kavex::canvas;
using test::bytes;
using test::expected_bmp;
using test::picture;
using test::read_file;
using test::SaveTest;
using test::write_file;
namespace fs = std::filesystem;

namespace {

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

TEST_F(SaveTest, DevicesLimitsAndPermissionsFailCleanly) {
    const canvas c = picture(100, 100);  // 30054 bytes
    const std::string earlier = path("earlier.bmp");
    write_file(earlier, "old");
    auto untouched = [&] {
        return read_file(earlier) == bytes{'o', 'l', 'd'} &&
               listing(folder) == std::set<std::string>{"earlier.bmp", "ro"};
    };
    fs::create_directory(folder / "ro");

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

