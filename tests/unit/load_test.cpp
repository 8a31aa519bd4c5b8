// Loading pictures: what save writes comes back pixel for pixel, BMPs of the
// kinds SDL writes and older tools do, PNGs with and without alpha, names in
// UTF-8; anything else is refused with the canvas left closed, and the
// window is never replaced.
#include "save_support.hpp"

#include "load.hpp"

#include <gtest/gtest.h>

// A system include in this test's build: its warnings are not ours.
#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STBI_WRITE_NO_STDIO
#include "stb_image_write.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <string>
#include <vector>

using kavex::canvas;
using test::bytes;
using test::pixel_at;
using test::pixels_of;
using test::SaveTest;

namespace {

bytes png(int w, int h, int channels, const bytes& pixels) {
    bytes out;
    const auto append = [](void* to, void* data, int size) {
        auto* p = static_cast<std::uint8_t*>(data);
        static_cast<bytes*>(to)->insert(static_cast<bytes*>(to)->end(), p, p + size);
    };
    EXPECT_TRUE(stbi_write_png_to_func(append, &out, w, h, channels, pixels.data(), w * channels));
    return out;
}

void write_bytes(const std::string& name, const bytes& content) {
    test::write_file(name, std::string(content.begin(), content.end()));
}

void put_le(bytes& out, std::uint32_t value, int count) {
    for (int i = 0; i < count; ++i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

// A BMP with a palette: the headers, `colors` as 0xRRGGBB, then `data` as is.
bytes paletted_bmp(int w, int h, int bits, int compression, const std::vector<std::uint32_t>& colors,
                   const bytes& data) {
    const auto offset = static_cast<std::uint32_t>(54 + 4 * colors.size());
    bytes out{'B', 'M'};
    put_le(out, offset + static_cast<std::uint32_t>(data.size()), 4), put_le(out, 0, 4), put_le(out, offset, 4);
    put_le(out, 40, 4), put_le(out, w, 4), put_le(out, h, 4), put_le(out, 1, 2), put_le(out, bits, 2);
    put_le(out, compression, 4), put_le(out, static_cast<std::uint32_t>(data.size()), 4);
    put_le(out, 0, 4), put_le(out, 0, 4);  // resolution
    put_le(out, static_cast<std::uint32_t>(colors.size()), 4), put_le(out, 0, 4);
    for (std::uint32_t c : colors) put_le(out, c & 0xFFFFFF, 4);
    out.insert(out.end(), data.begin(), data.end());
    return out;
}

class LoadTest : public SaveTest {
protected:
    // The file written under `name` in the test's folder, then loaded.
    bool load(canvas& c, const std::string& name, const bytes& content) {
        write_bytes(path(name), content);
        return c.load(path(name));
    }
    // A canvas that fails to load must not keep its old picture.
    static canvas opened() { return canvas(5, 5); }
};

}  // namespace

TEST_F(LoadTest, WhatSaveWritesComesBackPixelForPixel) {
    const canvas saved = test::picture(37, 23);
    ASSERT_TRUE(saved.save(path("picture.bmp")));
    canvas loaded;
    ASSERT_TRUE(loaded.load(path("picture.bmp")));
    ASSERT_EQ(loaded.surface->w, 37);
    ASSERT_EQ(loaded.surface->h, 23);
    EXPECT_EQ(test::pen(loaded), (test::point{18, 11}));
    std::vector<std::uint32_t> expected = pixels_of(saved);
    for (auto& p : expected) p &= 0xFFFFFF;  // the unused top byte is not saved
    EXPECT_EQ(pixels_of(loaded), expected);
    // The loaded canvas is an ordinary one: it draws.
    loaded << kavex::use_color(1, 2, 3) << kavex::dot;
    EXPECT_EQ(pixel_at(loaded.surface, 18, 11), 0x010203u);
}

TEST_F(LoadTest, BmpsThatSdlWritesFromPalettedAndTrueColourSurfaces) {
    SDL_Surface* indexed = SDL_CreateRGBSurface(0, 3, 2, 8, 0, 0, 0, 0);
    SDL_Surface* rgb = SDL_CreateRGBSurface(0, 3, 2, 32, 0xFF0000, 0xFF00, 0xFF, 0);
    ASSERT_TRUE(indexed && rgb);
    SDL_Color colors[] = {{10, 20, 30, 0}, {200, 100, 50, 0}, {0, 255, 0, 0}};
    SDL_SetColors(indexed, colors, 0, 3);
    const std::uint8_t indexes[] = {0, 1, 2, 2, 0, 1};
    const std::uint32_t expected[] = {0x0A141E, 0xC86432, 0x00FF00, 0x00FF00, 0x0A141E, 0xC86432};
    for (int i = 0; i < 6; ++i) {
        static_cast<std::uint8_t*>(indexed->pixels)[(i / 3) * indexed->pitch + i % 3] = indexes[i];
        std::memcpy(static_cast<std::uint8_t*>(rgb->pixels) + (i / 3) * rgb->pitch + 4 * (i % 3), &expected[i], 4);
    }
    ASSERT_EQ(SDL_SaveBMP(indexed, path("indexed.bmp").c_str()), 0);
    ASSERT_EQ(SDL_SaveBMP(rgb, path("rgb.bmp").c_str()), 0);
    SDL_FreeSurface(indexed);
    SDL_FreeSurface(rgb);
    for (const char* name : {"indexed.bmp", "rgb.bmp"}) {
        canvas c;
        ASSERT_TRUE(c.load(path(name))) << name;
        EXPECT_EQ(pixels_of(c), std::vector<std::uint32_t>(expected, expected + 6)) << name;
    }
}

// A kind SDL does not write: 4 bits a pixel.
TEST_F(LoadTest, OlderBmpKinds) {
    const std::vector<std::uint32_t> palette{0x000000, 0xFF0000, 0x0000FF};
    // 3 x 2, bottom row first, two pixels a byte, rows padded to 4 bytes.
    const bytes four_bit = paletted_bmp(3, 2, 4, 0, palette, {0x12, 0x00, 0, 0, 0x21, 0x10, 0, 0});
    const std::vector<std::uint32_t> four_bit_pixels{0x0000FF, 0xFF0000, 0xFF0000, 0xFF0000, 0x0000FF, 0};
    canvas c;
    ASSERT_TRUE(load(c, "four.bmp", four_bit));
    EXPECT_EQ(pixels_of(c), four_bit_pixels);
}

TEST_F(LoadTest, PngsOpaqueGreyAndSeeThrough) {
    canvas c;
    ASSERT_TRUE(load(c, "rgb.png", png(2, 1, 3, {255, 0, 0, 1, 2, 3})));
    EXPECT_EQ(pixels_of(c), (std::vector<std::uint32_t>{0xFF0000, 0x010203}));

    ASSERT_TRUE(load(c, "grey.png", png(3, 1, 1, {0, 128, 255})));
    EXPECT_EQ(pixels_of(c), (std::vector<std::uint32_t>{0, 0x808080, 0xFFFFFF}));

    // Opaque, see-through, half see-through (200 * 128 / 255 = 100.4, 51 * 128 / 255 = 25.6),
    // nearly gone (255 * 1 / 255 = 1, 100 * 1 / 255 = 0.39).
    ASSERT_TRUE(load(c, "rgba.png",
                     png(4, 1, 4, {9, 8, 7, 255, 250, 250, 250, 0, 200, 100, 51, 128, 255, 100, 0, 1})));
    EXPECT_EQ(pixels_of(c), (std::vector<std::uint32_t>{0x090807, 0, 0x64321A, 0x010000}));

    // The see-through pixel is black, so a transparent canvas leaves it out.
    canvas white(4, 1);
    white << kavex::use_color(255, 255, 255) << kavex::move_abs(0, 0) << kavex::box_abs(3, 0);
    c.set_transparent(true);
    white.blitfrom(c, 0, 0);
    EXPECT_EQ(pixels_of(white), (std::vector<std::uint32_t>{0x090807, 0xFFFFFF, 0x64321A, 0x010000}));
}

TEST_F(LoadTest, AUtf8NameIsFound) {
    canvas c;
    ASSERT_TRUE(load(c, "kép_ő.png", png(1, 1, 3, {1, 2, 3})));
    EXPECT_EQ(pixels_of(c), std::vector<std::uint32_t>{0x010203});
}

TEST_F(LoadTest, FilesThatAreNoPictureLeaveTheCanvasClosed) {
    const bytes good = png(8, 8, 3, bytes(8 * 8 * 3, 77));
    struct {
        const char* name;
        bytes content;
    } const cases[] = {
        {"text.png", {'h', 'e', 'l', 'l', 'o', '\n'}},
        {"empty.bmp", {}},
        {"cut.png", bytes(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(good.size() / 2))},
        {"cut.bmp", bytes{'B', 'M', 0, 0, 0}},
        {"no-pixels.bmp", paletted_bmp(2, 2, 8, 0, {0}, {})},
    };
    for (const auto& bad : cases) {
        canvas c = opened();
        EXPECT_FALSE(load(c, bad.name, bad.content)) << bad.name;
        EXPECT_EQ(c.surface, nullptr) << bad.name;
    }
    canvas c = opened();
    EXPECT_FALSE(c.load(path("missing.png")));
    EXPECT_EQ(c.surface, nullptr);
    EXPECT_EQ(test::pen(c), (test::point{0, 0}));
    EXPECT_FALSE(c.load(folder.u8string()));  // a folder
    EXPECT_EQ(c.surface, nullptr);
}

// Refused from the header alone: the pen goes where a failed open of that
// size leaves it.
TEST_F(LoadTest, APictureLargerThanACanvasIsRefused) {
    bytes wide_bmp = paletted_bmp(16384, 1, 8, 0, {0}, bytes(16384, 0));
    bytes huge_png = png(1, 1, 3, {1, 2, 3});
    const std::uint8_t huge_size[] = {0, 1, 0x86, 0xA0, 0, 1, 0x86, 0xA0};  // 100000 x 100000
    std::copy(std::begin(huge_size), std::end(huge_size), huge_png.begin() + 16);  // IHDR's width and height
    canvas c = opened();
    EXPECT_FALSE(load(c, "wide.bmp", wide_bmp));
    EXPECT_EQ(c.surface, nullptr);
    EXPECT_EQ(test::pen(c), (test::point{8192, 0}));
    c = opened();
    EXPECT_FALSE(load(c, "huge.png", huge_png));
    EXPECT_EQ(c.surface, nullptr);

    unsigned w = 0, h = 0;
    ASSERT_TRUE(kavex::detail::picture_size(huge_png.data(), huge_png.size(), w, h));
    EXPECT_EQ(w, 100000u);
    EXPECT_EQ(test::pen(c), (test::point{50000, 50000}));
}

TEST_F(LoadTest, TheWindowIsNeverReplaced) {
    write_bytes(path("small.png"), png(2, 2, 3, bytes(12, 200)));
    ASSERT_TRUE(kavex::gout.open(20, 10));
    kavex::gout << kavex::use_color(1, 2, 3) << kavex::move_abs(0, 0) << kavex::box_abs(19, 9)
                << kavex::move_abs(4, 5);
    SDL_Surface* const window = kavex::gout.surface;
    canvas& through_reference = kavex::gout;
    EXPECT_FALSE(kavex::gout.load(path("small.png")));
    EXPECT_FALSE(through_reference.load(path("small.png")));
    EXPECT_EQ(kavex::gout.surface, window);
    EXPECT_EQ(test::pen(kavex::gout), (test::point{4, 5}));
    EXPECT_EQ(test::changed(window, 0x010203), test::point_set{});
}
