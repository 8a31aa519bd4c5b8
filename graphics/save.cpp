// Saving a canvas as a BMP file: the whole picture, or nothing and false.
//
// The image is encoded in memory first, so that a file is only touched once
// every byte of it is known. A regular file is then replaced in one step:
// the bytes go to a new file in the same folder, which is renamed over the
// old one only once it is complete. A device or a pipe is written directly.
#include "explain.hpp"
#include "graphics.hpp"
#include "pixels.hpp"
#include "platform.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>
#include <string>

namespace kavex {

using internal::usable;
using platform::encoded_image;

namespace {

bool write_all(int fd, const std::uint8_t* data, std::size_t size) {
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

// A device or a pipe. Opened without blocking, so that a pipe nobody reads
// fails at once instead of hanging; written with blocking as usual.
bool write_in_place(const std::string& path, const encoded_image& image) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return false;
    const int flags = ::fcntl(fd, F_GETFL);
    const bool ok = flags != -1 && ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != -1 &&
                    write_all(fd, image.bytes.get(), image.size);
    return ::close(fd) == 0 && ok;
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
bool replace_file(const std::string& target, const struct stat* existing, const encoded_image& image) {
    std::string temporary;
    const int fd = create_new_file(folder_of(target), temporary);
    if (fd < 0) return false;
    bool ok = write_all(fd, image.bytes.get(), image.size) && ::fsync(fd) == 0;
    if (ok && existing) ok = ::fchmod(fd, existing->st_mode & 07777) == 0;
    ok = ::close(fd) == 0 && ok;
    ok = ok && ::rename(temporary.c_str(), target.c_str()) == 0;
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

bool write_file(const std::string& name, const encoded_image& image) {
    const std::string target = followed(name);
    struct stat existing;
    if (::stat(target.c_str(), &existing) != 0) {
        return errno == ENOENT && replace_file(target, nullptr, image);
    }
    if (S_ISREG(existing.st_mode)) return replace_file(target, &existing, image);
    return write_in_place(target, image);
}

bool failed_save(const std::string& name, const char* reason) {
    internal::explain(internal::mistake::save_failed, [&] {
        return "save(\"" + name + "\") failed: " + reason +
               ". No file was written, and an earlier file of that name is as it was.";
    });
    return false;
}

}  // namespace

bool canvas::save(const std::string& name) const {
    if (!usable(surface)) {
        detail::explain_no_surface("save");
        return false;
    }
    try {
        encoded_image image;
        if (!platform::encode_bmp(surface, image)) return failed_save(name, "the picture does not fit in memory");
        if (!write_file(name, image)) return failed_save(name, std::strerror(errno));
        platform::saved(name);
        return true;
    } catch (const std::bad_alloc&) {
        return failed_save(name, "there is not enough memory");
    }
}

}  // namespace kavex
