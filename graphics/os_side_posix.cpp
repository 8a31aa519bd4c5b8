// What the library asks of a POSIX system (Linux, macOS, the browser's file
// system): files read whole, and written whole or not at all.
//
// A regular file is replaced in one step: the bytes go to a new file in the
// same folder, which is renamed over the old one only once it is complete
// and on disk. A device or a pipe is written directly.
#include "os_side.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace kavex::os_side {

namespace {

// Each failure keeps the system's own words for it.
bool failed(std::string& reason) {
    reason = std::strerror(errno);
    return false;
}

bool write_all(int fd, const std::uint8_t* data, std::size_t size) {
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0 && errno == EINTR) continue;
        if (n == 0) errno = ENOSPC;
        if (n <= 0) return false;
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

// A device or a pipe. Opened without blocking, so that a pipe nobody reads
// fails at once instead of hanging; written with blocking as usual.
bool write_in_place(const std::string& path, const std::uint8_t* bytes, std::size_t size, std::string& reason) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return failed(reason);
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags == -1 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) == -1 || !write_all(fd, bytes, size)) {
        failed(reason);
        ::close(fd);
        return false;
    }
    return ::close(fd) == 0 || failed(reason);
}

std::string folder_of(const std::string& path) {
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// Creates a file of its own in `folder`; its name goes to `name`.
int create_new_file(const std::string& folder, std::string& name) {
    static std::atomic<unsigned> serial{0};
    for (int attempt = 0; attempt < 100; ++attempt) {
        name = folder + "/.kavex-save-" + std::to_string(::getpid()) + "-" + std::to_string(serial++) + ".tmp";
        const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    return -1;
}

// Writes a new file beside `target` and renames it over `target` only once
// it is complete and on disk. `existing` is the file it replaces, if any,
// whose permissions the new one keeps.
bool replace_file(const std::string& target, const struct stat* existing, const std::uint8_t* bytes,
                  std::size_t size, std::string& reason) {
    std::string temporary;
    const int fd = create_new_file(folder_of(target), temporary);
    if (fd < 0) return failed(reason);
    bool ok = write_all(fd, bytes, size) && ::fsync(fd) == 0;
    if (ok && existing) ok = ::fchmod(fd, existing->st_mode & 07777) == 0;
    if (!ok) failed(reason);
    if (::close(fd) != 0 && ok) ok = failed(reason);
    if (ok && ::rename(temporary.c_str(), target.c_str()) != 0) ok = failed(reason);
    if (!ok) ::unlink(temporary.c_str());
    return ok;
}

// A symbolic link stays a link: the file it leads to is the one replaced.
std::string followed(const std::string& path) {
    struct stat link;
    if (::lstat(path.c_str(), &link) != 0 || !S_ISLNK(link.st_mode)) return path;
    std::unique_ptr<char, decltype(&std::free)> resolved(::realpath(path.c_str(), nullptr), &std::free);
    return resolved ? std::string(resolved.get()) : path;
}

// Reads to the end, whatever the size said: a pipe has none, and a file may
// grow while it is read. One byte more than `max_size` shows a file too long.
bool read_all(int fd, std::size_t expected, std::size_t max_size, std::vector<std::uint8_t>& bytes) {
    bytes.resize(std::min(expected, max_size) + 1);
    std::size_t used = 0;
    while (used <= max_size) {
        if (used == bytes.size()) bytes.resize(std::min(max_size + 1, 2 * used));
        const ssize_t n = ::read(fd, bytes.data() + used, bytes.size() - used);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return false;
        if (n == 0) break;
        used += static_cast<std::size_t>(n);
    }
    bytes.resize(used);
    if (used > max_size) errno = EFBIG;
    return used <= max_size;
}

}  // namespace

void prepare_process() {}

bool append_file(const std::string& name, const std::uint8_t* bytes, std::size_t size, bool start_new, std::string& reason) {
    const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC | O_NOCTTY | (start_new ? O_TRUNC : O_APPEND), 0666);
    if (fd < 0) return failed(reason);
    const bool ok = write_all(fd, bytes, size) || failed(reason);
    return (::close(fd) == 0 || failed(reason)) && ok;
}

void set_environment(const char* name, const char* value) { ::setenv(name, value, 1); }

// Linux names the program's file in /proc; elsewhere the window keeps "kavex".
std::string program_name() {
    char path[4096];
    const ssize_t n = ::readlink("/proc/self/exe", path, sizeof path - 1);
    if (n <= 0) return "kavex";
    const std::string file(path, static_cast<std::size_t>(n));
    return file.substr(file.find_last_of('/') + 1);
}

// SDL gives X11 and macOS the title in UTF-8 itself.
void show_title(const std::string&) {}

void say_at_once(const char* line) {
    const std::size_t size = std::strlen(line);
    if (::write(STDERR_FILENO, line, size) < 0) return;  // nowhere to tell it
}

// Terminals on these systems take UTF-8.
void write_error(const std::string& text) {
    std::fputs(text.c_str(), stderr);
    std::fflush(stderr);
}

// The locale's order: LC_ALL overrides LC_MESSAGES, which overrides LANG.
// (In the browser, Emscripten sets LANG from the browser's language.)
std::string system_language() {
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(name);
        if (value && *value) return value;
    }
    return "";
}

bool write_file(const std::string& name, const std::uint8_t* bytes, std::size_t size, std::string& reason) {
    const std::string target = followed(name);
    struct stat existing;
    if (::stat(target.c_str(), &existing) != 0) {
        if (errno != ENOENT) return failed(reason);
        return replace_file(target, nullptr, bytes, size, reason);
    }
    if (S_ISREG(existing.st_mode)) return replace_file(target, &existing, bytes, size, reason);
    return write_in_place(target, bytes, size, reason);
}

bool read_file(const std::string& name, std::size_t max_size, std::vector<std::uint8_t>& bytes, std::string& reason) {
    bytes.clear();
    // Opened without blocking, so that a pipe nobody writes to cannot hang
    // the open; read with blocking as usual.
    const int fd = ::open(name.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return failed(reason);
    struct stat info;
    const int flags = ::fcntl(fd, F_GETFL);
    bool ok = ::fstat(fd, &info) == 0 && flags != -1 && ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != -1;
    if (ok && S_ISDIR(info.st_mode)) {
        errno = EISDIR;
        ok = false;
    }
    const bool regular = ok && S_ISREG(info.st_mode);
    if (regular && static_cast<std::uintmax_t>(info.st_size) > max_size) {
        errno = EFBIG;
        ok = false;
    }
    try {
        ok = ok && read_all(fd, regular ? static_cast<std::size_t>(info.st_size) : 0, max_size, bytes);
    } catch (...) {
        ::close(fd);
        throw;
    }
    if (!ok) failed(reason);
    ::close(fd);
    return ok;
}

}  // namespace kavex::os_side
