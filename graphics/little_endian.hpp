// Private to the library: numbers as the files it reads keep them (BMP, WAV,
// Ogg), lowest byte first.
#pragma once

#include <cstdint>

namespace kavex::detail {

// The `bytes` bytes (1 to 4) at `p` as one number.
inline std::uint32_t read_le(const std::uint8_t* p, int bytes) {
    std::uint32_t value = 0;
    for (int i = bytes - 1; i >= 0; --i) value = value << 8 | p[i];
    return value;
}

}  // namespace kavex::detail
