// Private to the library: the built-in font, its cell and its glyphs.
//
//   glyph row r of a character lies on pen row - ascent + r;
//   a character moves the pen glyph_width pixels right, a newline glyph_rows down;
//   charfaces[code * glyph_rows + r] is row r of glyph `code`, a word of eight
//   4-bit coverages, column 0 in the lowest bits (0 blank, 15 full).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace kavex::detail {

constexpr int glyph_width = 8;                 // columns of a glyph, and the pen's step
constexpr int glyph_rows = 17;                 // rows of a glyph, and a line's step
constexpr int ascent = 13;                     // glyph rows above the pen row
constexpr int descent = glyph_rows - ascent;   // the pen row and the rows below it

#include "font.inc"

}  // namespace kavex::detail
