// A picture read from or written to a PNG file: three bytes a pixel, red,
// green and blue, row after row from the top.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace check {

struct picture {
    int width = 0, height = 0;
    std::vector<unsigned char> rgb;
    explicit operator bool() const { return !rgb.empty(); }
    const unsigned char* at(int x, int y) const { return &rgb[3 * (static_cast<std::size_t>(y) * width + x)]; }
};

// An empty picture when the file cannot be read.
picture read_png(const std::string& file);
bool write_png(const std::string& file, const picture& p);

}  // namespace check
