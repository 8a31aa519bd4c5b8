// Private to the library: a picture file's bytes made into a canvas, the part
// of canvas::load that needs no file, so that the fuzz harness and the tests
// can give it any bytes.
#pragma once

#include "graphics.hpp"

#include <cstddef>
#include <cstdint>
#include <string>

namespace kavex::detail {

// The size a picture's header claims; false when the bytes begin no picture
// the library reads (BMP, PNG, JPEG, GIF, TGA). Costs no decoding.
bool picture_size(const std::uint8_t* bytes, std::size_t size, unsigned& width, unsigned& height);

// Opens `target` (a canvas, never the window) at the picture's size holding
// its pixels, 0x00RRGGBB, alpha blended onto black; the pen goes to the
// centre. When it fails, `target.surface` is null, the pen is at the centre
// of the size the header claimed (or at 0, 0), and `reason` says why in words
// that follow "load(\"name\") failed: ".
bool decode_picture(const std::uint8_t* bytes, std::size_t size, canvas& target, std::string& reason);

}  // namespace kavex::detail
