// A user's own program, built against the unpacked Windows package as the
// README shows: main exactly as on Linux, without a return (so 0), drawing,
// text from a UTF-8 string, and a save. Ends with status 1 if the save fails.
#include "graphics.hpp"

using namespace kavex;

int main() {
    gout.open(64, 32);
    gout << use_color(255, 0, 0) << move_abs(0, 0) << box_rel(63, 31);
    gout << use_color(255, 255, 255) << move_abs(4, 20);
    gout.draw_text(from_utf8("Ahoj, světe"));
    gout << refresh;
    if (!gout.save("outside.bmp")) return 1;
}
