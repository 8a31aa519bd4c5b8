// Hello: opens a window, draws, and waits until the window is closed.
// Copy it to start a program of your own.
#include "graphics.hpp"
using namespace kavex;

int main() {
    gout.open(400, 300);
    gout << use_color(30, 60, 120) << move_abs(0, 0) << box_rel(399, 299)   // background
         << use_color(255, 200, 0) << move_abs(120, 120) << box_rel(160, 60)
         << use_color(0, 0, 0) << move_abs(200 - gout.twidth("Hello, world!") / 2, 155);
    gout.draw_text("Hello, world!");
    gout << refresh;
    event ev;
    while (gin.wait_event(ev)) {}   // until the window is closed
}
