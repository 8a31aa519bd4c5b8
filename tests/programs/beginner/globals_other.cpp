// The second file of the globals program: its globals may be made before the
// library's own, so they use the window and the input source right away.
#include "graphics.hpp"

using namespace kavex;

canvas& other_screen = groutput::instance();

namespace {
// Uses both before main: the input source must be there, and a canvas
// made now must work (SDL is up).
bool draw_before_main() {
    canvas scratch(10, 10);
    scratch << move_abs(1, 1) << dot;
    return scratch.surface && !gin.quit && &gin == &grinput::instance();
}
}  // namespace

bool other_drew_before_main = draw_before_main();
