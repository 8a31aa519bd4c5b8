// starsnow: small rotating three-armed stars falling inside a dark blue
// border. The mouse's column sets the wind, the space bar adds ten flakes at
// the top, closing the window quits. The generator is never seeded, so every
// run starts the same.
#include "graphics.hpp"

#include <cmath>
#include <cstdlib>
#include <vector>

using namespace kavex;

int XX = 400;    // window width
int YY = 400;    // window height
double R = 4.0;  // star radius; also the visibility margin and half the border

struct pehely {
    double x, y, angle;
};

namespace {

// Three segments through the centre, 2 / 3.1415 radians apart (not a
// symmetric star). A star on or beyond the margin is neither drawn nor
// erased, so every end lies inside the window.
void draw_star(const pehely& f) {
    if (!(R < f.x && f.x < XX - R && R < f.y && f.y < YY - R)) return;
    for (int l = 0; l < 3; ++l) {
        const double a = (2 * l) / 3.1415 + f.angle;
        const double arm_x = R * std::cos(a);
        const double arm_y = R * std::sin(a);
        const int x1 = static_cast<int>(f.x + arm_x);
        const int y1 = static_cast<int>(f.y + arm_y);
        const int x2 = static_cast<int>(f.x - arm_x);
        const int y2 = static_cast<int>(f.y - arm_y);
        gout << move_abs(x1, y1) << line_abs(x2, y2);
    }
}

void move_flake(pehely& f, double wind) {
    f.x = ((std::rand() % 5) - 2 + wind) + f.x;
    f.y = ((std::rand() % 5) - 1) + f.y;
    if (f.x < 0) f.x = XX - 1;
    if (f.x > XX - 1) f.x = 0;
    if (f.y < 0) f.y = 0;
    if (f.y > YY - 1) f.y = 0;  // restarts at the top, same column
    f.angle = ((std::rand() % 5) - 1) / 10.0 + f.angle;
}

// Top and left strips are 2R + 1 pixels thick, bottom and right 2R.
void draw_border() {
    const int twice_r = static_cast<int>(R + R);
    gout << use_color(0, 0, 50);
    gout << move_abs(0, 0) << box_rel(XX - 1, twice_r);
    gout << move_abs(0, 0) << box_rel(twice_r, YY - 1);
    gout << move_abs(XX - 1, YY - 1) << box_abs(0, static_cast<int>(YY - (R + R)));
    gout << move_abs(XX - 1, YY - 1) << box_abs(static_cast<int>(XX - (R + R)), 0);
}

}  // namespace

int main() {
    gout.open(XX, YY, false);

    std::vector<pehely> flakes(100);
    for (pehely& f : flakes) {
        f.x = std::rand() % XX;
        f.y = std::rand() % YY;
    }
    gin.timer(40);
    double wind = 0.0;

    event ev;
    while (gin) {
        gin.wait_event(ev);

        if (ev.mouse_x != 0) wind = (XX * 0.5 - ev.mouse_x) * (-4) / XX;

        if (ev.key == 32) {
            for (int i = 0; i < 10; ++i) flakes.push_back({static_cast<double>(std::rand() % XX), 0, 0});
        }

        if (ev.ticks != 0) {
            // The window is never cleared: last frame's stars are painted over in black.
            gout << use_color(0, 0, 0);
            for (const pehely& f : flakes) draw_star(f);
            for (pehely& f : flakes) move_flake(f, wind);
            gout << use_color(255, 255, 255);
            for (const pehely& f : flakes) draw_star(f);
            draw_border();
            gout << refresh;
        }
    }
    return 0;
}
