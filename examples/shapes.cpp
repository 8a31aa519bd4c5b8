// Lines, boxes and dots drawn through the command stream; close the window to quit.
#include "graphics.hpp"

#include <cmath>

using namespace kavex;

int main() {
    gout.open(400, 300);
    gout << use_color(20, 30, 60) << move_abs(0, 0) << box_abs(399, 299);

    for (int i = 0; i < 12; ++i) {  // a fan of lines
        const double a = i * 3.14159 / 22;
        gout << use_color(255, 200 - 12 * i, 40 + 15 * i) << move_abs(20, 280)
             << line_abs(20 + 250 * std::cos(a), 280 - 250 * std::sin(a));
    }
    gout << use_color(200, 60, 60) << move_abs(260, 30) << box_rel(100, 60);
    gout << use_color(60, 200, 90) << move_abs(360, 250) << box_abs(290, 120);
    gout << use_color(255, 255, 255);
    for (int x = 260; x <= 360; x += 4) gout << move_abs(x, 110) << dot;
    gout << refresh;

    event ev;
    while (gin.wait_event(ev)) {
    }
}
