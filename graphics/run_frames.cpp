// The pictures of a run, written as PNG files when KAVEX_FRAMES asks.
#include "run_frames.hpp"
#include "explain.hpp"
#include "os_side.hpp"
#include "pixels.hpp"
#include "run_input.hpp"

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

// The encoder is a header of someone else's (Debian's libstb-dev, beside the
// decoder), built here for this file alone: a program may build its own.
#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STB_IMAGE_WRITE_STATIC
#define STBI_WRITE_NO_STDIO  // the bytes go out through os_side, under UTF-8 names
#include "others_begin.inc"
#include "stb_image_write.h"
#include "others_end.inc"

namespace kavex::run_frames {

namespace {

// Built on first use: prepare() runs while the window is built, before
// this file's own statics would be.
struct frames_state {
    std::string folder;
    std::string list;  // empty: no pictures written
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
    detail::say(detail::words(detail::text::frames_stopped, {{"folder", f.folder}, {"why", why}}));
    f.list.clear();
}

bool write(const std::string& file, const void* bytes, std::size_t size, bool start_new) {
    std::string reason;
    if (os_side::append_file(file, static_cast<const std::uint8_t*>(bytes), size, start_new, reason)) return true;
    stop_writing("cannot write " + file + ": " + reason);
    return false;
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
    f.list = f.folder + "/" + list_name;
    const std::string heading = "# kavex frames 1: event, file, width, height, FNV-1a 64 of the RGB bytes\n";
    write(f.list, heading.data(), heading.size(), true);
}

void shown(SDL_Surface* window) {
    frames_state& f = frames();
    if (f.list.empty()) return;
    std::vector<std::uint8_t> rgb = rgb_of(window);
    if (rgb.empty()) return;
    if (window->w == f.last_width && window->h == f.last_height && rgb == f.last_picture) return;
    const unsigned long event = run_input::events_taken();
    f.pictures_at_event = event == f.last_event && !f.last_picture.empty() ? f.pictures_at_event + 1 : 1;
    const std::string name = file_name(event, f.pictures_at_event);
    int png_size = 0;
    std::unique_ptr<unsigned char, void (*)(void*)> png(
        stbi_write_png_to_mem(rgb.data(), 3 * window->w, window->w, window->h, 3, &png_size), std::free);
    if (!png) return stop_writing("there is not enough memory for a picture");
    if (!write(f.folder + "/" + name, png.get(), static_cast<std::size_t>(png_size), true)) return;
    const std::string line = std::to_string(event) + " " + name + " " + std::to_string(window->w) + " " +
                             std::to_string(window->h) + " " + checksum_text(checksum(rgb.data(), rgb.size())) + "\n";
    if (!write(f.list, line.data(), line.size(), false)) return;
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
