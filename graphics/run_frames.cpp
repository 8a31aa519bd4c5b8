// The pictures of a run, written as PNG files when KAVEX_FRAMES asks.
#include "run_frames.hpp"
#include "explain.hpp"
#include "pixels.hpp"
#include "run_input.hpp"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

// The encoder is a header of someone else's (Debian's libstb-dev, beside the
// decoder), built here for this file alone: a program may build its own.
#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STB_IMAGE_WRITE_STATIC
#if defined(__clang__)
#pragma clang diagnostic push
#pragma clang diagnostic ignored "-Weverything"
#elif defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wpedantic"
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wunused-parameter"
#pragma GCC diagnostic ignored "-Wsign-compare"
#pragma GCC diagnostic ignored "-Wimplicit-fallthrough"
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#endif
#include "stb_image_write.h"
#if defined(__clang__)
#pragma clang diagnostic pop
#elif defined(__GNUC__)
#pragma GCC diagnostic pop
#endif

namespace kavex::run_frames {

namespace {

// Built on first use: prepare() runs while the window is built, before
// this file's own statics would be.
struct frames_state {
    std::string folder;
    std::FILE* list = nullptr;
    // The picture last written, to leave out a refresh that changed nothing.
    std::vector<std::uint8_t> last_picture;
    int last_width = 0, last_height = 0;
    unsigned long last_event = 0;
    int pictures_at_event = 0;
};

frames_state& frames() {
    static frames_state state;
    return state;
}

void stop_writing(const std::string& why) {
    frames_state& f = frames();
    detail::say("the pictures of the run are not written to " + f.folder + " any more: " + why);
    if (f.list) std::fclose(f.list);
    f.list = nullptr;
}

std::vector<std::uint8_t> rgb_of(SDL_Surface* s) {
    std::vector<std::uint8_t> rgb;
    detail::locked_pixels px(s);
    if (!px) return rgb;
    rgb.resize(3 * static_cast<std::size_t>(s->w) * static_cast<std::size_t>(s->h));
    std::uint8_t* to = rgb.data();
    for (int y = 0; y < s->h; ++y)
        for (int x = 0; x < s->w; ++x, to += 3) {
            const std::uint32_t p = detail::load_pixel(px.at(x, y));
            to[0] = static_cast<std::uint8_t>(p >> 16);
            to[1] = static_cast<std::uint8_t>(p >> 8);
            to[2] = static_cast<std::uint8_t>(p);
        }
    return rgb;
}

// 000042.png, and 000042-2.png for a second picture after the same event.
std::string file_name(unsigned long event, int nth) {
    char name[48];
    if (nth == 1) std::snprintf(name, sizeof name, "%06lu.png", event);
    else std::snprintf(name, sizeof name, "%06lu-%d.png", event, nth);
    return name;
}

}  // namespace

void prepare() {
    const char* dir = std::getenv("KAVEX_FRAMES");
    if (!dir || !*dir) return;
    frames_state& f = frames();
    f.folder = dir;
    // A program's pictures are flat colours: the quickest settings make files
    // hardly larger, and a run of a thousand pictures three times faster.
    stbi_write_png_compression_level = 1;
    stbi_write_force_png_filter = 0;
    const std::string path = f.folder + "/" + list_name;
    f.list = std::fopen(path.c_str(), "wb");
    if (!f.list) return stop_writing(std::string("cannot write ") + path + ": " + std::strerror(errno));
    std::fputs("# kavex frames 1: event, file, width, height, FNV-1a 64 of the RGB bytes\n", f.list);
    std::fflush(f.list);
}

void shown(SDL_Surface* window) {
    frames_state& f = frames();
    if (!f.list) return;
    std::vector<std::uint8_t> rgb = rgb_of(window);
    if (rgb.empty()) return;
    if (window->w == f.last_width && window->h == f.last_height && rgb == f.last_picture) return;
    const unsigned long event = run_input::events_taken();
    f.pictures_at_event = event == f.last_event && !f.last_picture.empty() ? f.pictures_at_event + 1 : 1;
    const std::string name = file_name(event, f.pictures_at_event);
    const std::string path = f.folder + "/" + name;
    if (!stbi_write_png(path.c_str(), window->w, window->h, 3, rgb.data(), 3 * window->w))
        return stop_writing("cannot write " + path);
    std::fprintf(f.list, "%lu %s %d %d %s\n", event, name.c_str(), window->w, window->h,
                 checksum_text(checksum(rgb.data(), rgb.size())).c_str());
    if (std::fflush(f.list) != 0) return stop_writing(std::strerror(errno));
    f.last_picture = std::move(rgb);
    f.last_width = window->w;
    f.last_height = window->h;
    f.last_event = event;
}

std::uint64_t checksum(const std::uint8_t* rgb, std::size_t size) {
    std::uint64_t sum = 0xcbf29ce484222325ull;
    for (std::size_t i = 0; i < size; ++i) sum = (sum ^ rgb[i]) * 0x100000001b3ull;
    return sum;
}

std::string checksum_text(std::uint64_t sum) {
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(sum));
    return text;
}

}  // namespace kavex::run_frames
