// Saving a canvas as a BMP file: the whole picture, or nothing and false.
//
// The image is encoded in memory first, so that a file is only touched once
// every byte of it is known; the operating system's side (os_side.hpp) then writes it whole or not at all.
#include "explain.hpp"
#include "graphics.hpp"
#include "pixels.hpp"
#include "os_side.hpp"
#include "sdl_side.hpp"

#include <string>

namespace kavex {

using detail::usable;
using sdl_side::encoded_image;

namespace {

bool failed_save(const std::string& name, const std::string& reason) {
    detail::explain(detail::mistake::save_failed,
                    [&] { return detail::words(detail::text::save_failed, {{"file", name}, {"why", reason}}); });
    return false;
}

bool out_of_memory(const std::string& name) { return failed_save(name, detail::words(detail::text::no_memory)); }

}  // namespace

bool canvas::save(const std::string& name) const {
    if (!usable(surface)) {
        detail::explain_no_surface("save");
        return false;
    }
    return detail::unless_out_of_memory(
        [&] {
            encoded_image image;
            if (!sdl_side::encode_bmp(surface, image)) return out_of_memory(name);
            std::string reason;
            if (!os_side::write_file(name, image.bytes.get(), image.size, reason)) return failed_save(name, reason);
            sdl_side::saved(name);
            return true;
        },
        [&] { return out_of_memory(name); });
}

}  // namespace kavex
