// Writes what a desktop program shows in its window, once the picture has
// settled, as a binary PPM: the reference that the browser tests compare a
// page with, and the pictures in docs/ (scripts/pictures). The X display is
// the one that KAVEX_DISPLAY_FILE names.
//
//   desktop_picture build/examples/hello hello.ppm
//   desktop_picture PROGRAM OUT.ppm SCALE [X Y]
// SCALE makes each pixel a SCALE x SCALE block; X Y puts the pointer there
// in the window first, for a program that draws where the pointer is.
#include "x11_session.hpp"

#include <cstdio>
#include <cstdlib>
#include <thread>

namespace {

bool write_ppm(const x11::image& img, const char* path, int scale) {
    std::FILE* out = std::fopen(path, "wb");
    if (!out) return false;
    std::fprintf(out, "P6\n%d %d\n255\n", img.width * scale, img.height * scale);
    for (int y = 0; y < img.height * scale; ++y)
        for (int x = 0; x < img.width * scale; ++x) {
            const std::uint32_t p = img.pixels[static_cast<std::size_t>(y / scale) * img.width + x / scale];
            const unsigned char rgb[3] = {static_cast<unsigned char>(p >> 16), static_cast<unsigned char>(p >> 8),
                                          static_cast<unsigned char>(p)};
            std::fwrite(rgb, 1, 3, out);
        }
    return std::fclose(out) == 0;
}

}  // namespace

int main(int argc, char** argv) {
    const int scale = argc > 3 ? std::atoi(argv[3]) : 1;
    if ((argc != 3 && argc != 4 && argc != 6) || scale < 1) {
        std::fprintf(stderr, "usage: desktop_picture PROGRAM OUT.ppm [SCALE [X Y]]\n");
        return 2;
    }
    x11::session x;
    if (!x.ok()) return 1;
    auto app = x.start(argv[1]);
    const Window w = app ? app->wait_for_window() : None;
    if (w == None) {
        std::fprintf(stderr, "desktop_picture: %s showed no window\n", argv[1]);
        return 1;
    }
    if (argc == 6) x.move_pointer(w, std::atoi(argv[4]), std::atoi(argv[5]));
    // Settled: the same picture, not all black, in two grabs 200 ms apart.
    x11::image last = x.grab(w);
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::this_thread::sleep_for(x11::milliseconds(200));
        x11::image now = x.grab(w);
        const bool settled = !now.pixels.empty() && now.pixels == last.pixels && !now.all(0);
        last = std::move(now);
        if (settled) return write_ppm(last, argv[2], scale) ? 0 : 1;
    }
    std::fprintf(stderr, "desktop_picture: the picture of %s never settled\n", argv[1]);
    return 1;
}
