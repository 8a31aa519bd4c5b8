// PNG files through stb's decoder and encoder (Debian's libstb-dev), built
// here for kavex-check alone.
#include "picture.hpp"

#define STB_IMAGE_IMPLEMENTATION
#define STB_IMAGE_STATIC
#define STBI_ONLY_PNG
#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STB_IMAGE_WRITE_STATIC
#include "others_begin.inc"
#include "stb_image.h"
#include "stb_image_write.h"
#include "others_end.inc"

namespace check {

picture read_png(const std::string& file) {
    picture p;
    int channels = 0;
    unsigned char* rgb = stbi_load(file.c_str(), &p.width, &p.height, &channels, 3);
    if (!rgb) return p;
    p.rgb.assign(rgb, rgb + 3 * static_cast<std::size_t>(p.width) * p.height);
    stbi_image_free(rgb);
    return p;
}

bool write_png(const std::string& file, const picture& p) {
    stbi_write_png_compression_level = 1;  // flat colours: as small, much sooner
    return p && stbi_write_png(file.c_str(), p.width, p.height, 3, p.rgb.data(), 3 * p.width) != 0;
}

}  // namespace check
