// The browser's BMP encoder (graphics/bmp.hpp) writes, byte for byte, what
// SDL's own writer writes for the same canvas on the desktop.
#include "bmp.hpp"
#include "support.hpp"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using bytes = std::vector<std::uint8_t>;

namespace {

bytes saved_by_sdl(const kavex::canvas& c) {
    const fs::path file = fs::temp_directory_path() / ("kavex-bmp-" + std::to_string(::getpid()) + ".bmp");
    EXPECT_TRUE(c.save(file.string()));
    bytes out;
    {
        std::ifstream in(file, std::ios::binary);  // closed before the file goes: Windows keeps an open file
        out.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    fs::remove(file);
    return out;
}

bytes encoded(const kavex::canvas& c) {
    kavex::sdl_side::encoded_image image;
    EXPECT_TRUE(kavex::detail::encode_bmp24(static_cast<const std::uint8_t*>(c.surface->pixels), c.surface->pitch,
                                             c.surface->w, c.surface->h, image));
    return bytes(image.bytes.get(), image.bytes.get() + image.size);
}

// Every pixel different, some with bits above the colour set (which a BMP
// has no room for), over widths that need 0 to 3 bytes of row padding.
TEST(BmpEncoder, WritesWhatSdlWritesForEveryRowPadding) {
    std::srand(7);
    for (const auto& [w, h] : {std::pair{1, 1}, {2, 3}, {3, 2}, {4, 5}, {5, 1}, {401, 7}}) {
        kavex::canvas c(w, h);
        ASSERT_NE(c.surface, nullptr);
        auto* pixels = static_cast<std::uint8_t*>(c.surface->pixels);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                std::uint32_t value = static_cast<std::uint32_t>(std::rand()) & 0xFFFFFF;
                if ((x + y) % 3 == 0) value |= 0xA5000000;
                std::memcpy(pixels + y * c.surface->pitch + 4 * x, &value, 4);
            }
        EXPECT_EQ(encoded(c), saved_by_sdl(c)) << w << " x " << h;
    }
}

TEST(BmpEncoder, RefusesWhatABmpCannotHold) {
    kavex::sdl_side::encoded_image image;
    const std::uint8_t pixel[4] = {};
    EXPECT_FALSE(kavex::detail::encode_bmp24(pixel, 4, 0, 1, image));
    EXPECT_FALSE(kavex::detail::encode_bmp24(pixel, 4, 1, -1, image));
    EXPECT_FALSE(kavex::detail::encode_bmp24(pixel, 4, 0x7FFFFFFF, 0x7FFFFFFF, image));
}

}  // namespace
