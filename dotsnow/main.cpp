// dotsnow: white dots falling in a 400 x 400 window. The mouse's column sets
// the wind, the space bar adds 100 flakes on the top row, closing the window
// quits. The generator is never seeded, so every run starts the same.
#include "graphics.hpp"

#include <cstdlib>
#include <vector>

using namespace kavex;

struct pehely {
    double x, y;
};

int main() {
    gout.open(400, 400, false);

    std::vector<pehely> flakes(400);
    for (pehely& f : flakes) {
        f.x = std::rand() % 400;
        f.y = std::rand() % 400;
    }
    gin.timer(40);
    double wind = 0.0;

    event ev;
    while (gin) {
        gin.wait_event(ev);

        if (ev.mouse_x != 0) wind = (200 - ev.mouse_x) * (-4.0) / 400;

        if (ev.key == 32) {
            for (int i = 0; i < 100; ++i) flakes.push_back({static_cast<double>(std::rand() % 400), 0});
        }

        if (ev.ticks != 0) {
            // The window is never cleared: last frame's dots are painted over in black.
            gout << use_color(0, 0, 0);
            for (const pehely& f : flakes) gout << move_abs(f.x, f.y) << dot;

            for (pehely& f : flakes) {
                f.x = f.x + ((std::rand() % 5 - 2) + wind);
                f.y = f.y + (std::rand() % 5 - 1);
                if (f.x < 0) f.x = 399;
                if (f.x > 399) f.x = 0;
                if (f.y < 0) f.y = 0;
                if (f.y > 399) f.y = 0;  // restarts on the top row, same column
            }

            gout << use_color(255, 255, 255);
            for (const pehely& f : flakes) gout << move_abs(f.x, f.y) << dot;
            gout << refresh;
        }
    }
    return 0;
}
