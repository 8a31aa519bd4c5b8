// Test helpers for saving: a folder of its own for each test, a picture with
// pixels of every kind, and the exact file every save must produce.
#pragma once

#include "support.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <set>
#include <string>
#include <vector>

namespace test {

namespace fs = std::filesystem;
using bytes = std::vector<std::uint8_t>;

// File names are UTF-8 in the library; the tests reach the files through
// std::filesystem, which takes UTF-8 for what it is only when told.
inline fs::path utf8_path(const std::string& name) { return fs::u8path(name); }

class SaveTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::random_device random;
        for (int attempt = 0; attempt < 100 && folder.empty(); ++attempt) {
            const fs::path candidate = fs::temp_directory_path() / ("kavex-save-" + std::to_string(random()));
            if (fs::create_directory(candidate)) folder = candidate;
        }
        ASSERT_FALSE(folder.empty());
    }
    void TearDown() override {
        for (const auto& entry : fs::recursive_directory_iterator(folder))
            if (entry.is_directory()) fs::permissions(entry.path(), fs::perms::owner_all, fs::perm_options::add);
        fs::remove_all(folder);
    }
    // The UTF-8 name of a file in the folder, as a program gives it to save.
    std::string path(const std::string& name) const { return (folder / utf8_path(name)).u8string(); }
    std::set<std::string> listing(const fs::path& where) const {
        std::set<std::string> names;
        for (const auto& entry : fs::directory_iterator(where)) names.insert(entry.path().filename().u8string());
        return names;
    }

    fs::path folder;
};

// Pixels of every kind, black among them, and one with the unused top byte set.
inline kavex::canvas picture(int w = 37, int h = 23) {
    kavex::canvas c(w, h);
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
inline bytes expected_bmp(const SDL_Surface* s) {
    const std::uint32_t row = (3 * s->w + 3) & ~3, image = row * s->h;
    bytes out{'B', 'M'};
    auto put = [&out](std::uint32_t value, int count) {
        for (int i = 0; i < count; ++i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    };
    put(54 + image, 4), put(0, 4), put(54, 4);                        // file header
    put(40, 4), put(s->w, 4), put(s->h, 4), put(1, 2), put(24, 2);     // info header
    put(0, 4), put(image, 4), put(0, 4), put(0, 4), put(0, 4), put(0, 4);
    for (int y = s->h - 1; y >= 0; --y) {
        for (int x = 0; x < s->w; ++x) put(pixel_at(s, x, y), 3);
        put(0, static_cast<int>(row) - 3 * s->w);
    }
    return out;
}

inline bytes read_file(const std::string& name) {
    std::ifstream in(utf8_path(name), std::ios::binary);
    return bytes(std::istreambuf_iterator<char>(in), {});
}

inline void write_file(const std::string& name, const std::string& text) {
    std::ofstream(utf8_path(name), std::ios::binary) << text;
}

}  // namespace test
