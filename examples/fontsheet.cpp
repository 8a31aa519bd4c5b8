// All 256 glyphs of the built-in font in a 16 x 16 grid with hexadecimal
// labels, drawn off-screen and saved as a BMP file (the name given, or
// fontsheet.bmp), then shown in the window until it is closed.
#include "graphics.hpp"

#include <cstdio>
#include <string>

using namespace kavex;

int main(int argc, char** argv) {
    const std::string file = argc > 1 ? argv[1] : "fontsheet.bmp";
    constexpr int cell_w = 20, cell_h = 22, margin = 28;
    canvas sheet(margin + 16 * cell_w, margin + 16 * cell_h);
    sheet << use_color(250, 250, 245) << move_abs(0, 0) << box_rel(sheet.surface->w - 1, sheet.surface->h - 1);

    const char* hex = "0123456789ABCDEF";
    sheet << use_color(150, 40, 40);
    for (int i = 0; i < 16; ++i) {
        sheet << move_abs(margin + i * cell_w + 2, 18);
        sheet.draw_text(std::string("_") + hex[i]);        // column: low digit
        sheet << move_abs(6, margin + i * cell_h + 16);
        sheet.draw_text(std::string(1, hex[i]) + "_");     // row: high digit
    }
    for (int code = 0; code < 256; ++code) {
        const int x = margin + (code % 16) * cell_w, y = margin + (code / 16) * cell_h;
        sheet << use_color(225, 228, 235) << move_abs(x, y) << box_rel(cell_w - 2, cell_h - 2);
        sheet << use_color(0, 0, 0) << move_abs(x + 5, y + 15);
        sheet.draw_text(std::string(1, static_cast<char>(code)));
    }
    if (!sheet.save(file)) {
        std::fprintf(stderr, "fontsheet: could not write %s\n", file.c_str());
        return 1;
    }
    std::printf("%s\n", file.c_str());
    std::fflush(stdout);

    gout.open(sheet.surface->w, sheet.surface->h);
    gout.blitfrom(sheet, 0, 0);
    gout << refresh;
    event ev;
    while (gin.wait_event(ev)) {}
}
