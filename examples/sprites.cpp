// A sprite that follows the pointer over a patterned background.
// Press S to save the window as a BMP file; close the window to quit.
#include "graphics.hpp"

#include <algorithm>
#include <cstdio>
#include <string>

using namespace kavex;

namespace {

constexpr int width = 400, height = 400;
constexpr int sprite_size = 32;

// Checks and diagonal stripes, kept off-screen so the sprite's last place
// can be painted over from it.
void draw_background(canvas& c) {
    for (int y = 0; y < height; y += 40)
        for (int x = 0; x < width; x += 40) {
            const bool dark = (x + y) / 40 % 2 == 0;
            c << use_color(dark ? 30 : 50, dark ? 40 : 70, dark ? 90 : 120) << move_abs(x, y) << box_rel(39, 39);
        }
    c << use_color(90, 110, 160);
    for (int x = 20 - height; x < width; x += 20) c << move_abs(std::max(x, 0), std::max(-x, 0)) << line_abs(x + height, height);
    const std::string hint = "move the mouse; S saves the window";
    c << use_color(0, 0, 0) << move_abs(0, height - 24) << box_abs(width - 1, height - 1);
    c << use_color(230, 230, 230) << move_abs((width - c.twidth(hint)) / 2, height - 8);
    c.draw_text(hint);
}

// A little ship on black: every black pixel stays out of the copy.
void draw_sprite(canvas& c) {
    c << use_color(0, 0, 0) << move_abs(0, 0) << box_rel(sprite_size - 1, sprite_size - 1);
    c << use_color(255, 200, 40);
    for (int row = 0; row < 24; ++row) c << move_abs(16 - row / 2, 4 + row) << line_abs(15 + row / 2, 4 + row);
    c << use_color(255, 80, 40) << move_abs(12, 28) << box_rel(7, 3);
    c << use_color(120, 220, 255) << move_abs(14, 14) << box_rel(3, 5);
    c.set_transparent(true);
}

// Copies only the part that lies on the window: a rectangle that crosses the
// window's edge would be copied with its black.
void put(const canvas& source, int x, int y) {
    const int left = std::max(0, -x), top = std::max(0, -y);
    const int right = std::min(sprite_size, width - x), bottom = std::min(sprite_size, height - y);
    if (left < right && top < bottom) gout.blitfrom(source, left, top, right - left, bottom - top, x + left, y + top);
}

void restore(const canvas& background, int x, int y) {
    gout.blitfrom(background, x, y, sprite_size, sprite_size, x, y);
}

}  // namespace

int main() {
    gout.open(width, height);
    canvas background(width, height), sprite(sprite_size, sprite_size);
    draw_background(background);
    draw_sprite(sprite);
    gout.blitfrom(background, 0, 0);

    int x = (width - sprite_size) / 2, y = (height - sprite_size) / 2, shown_x = x, shown_y = y;
    int saved = 0;
    gin.timer(40);
    event ev;
    while (gin) {
        gin.wait_event(ev);
        if (ev.mouse_x || ev.mouse_y) {
            x = ev.mouse_x - sprite_size / 2;
            y = ev.mouse_y - sprite_size / 2;
        }
        if (ev.key == 's' || ev.key == 'S') {
            const std::string name = "sprites-" + std::to_string(++saved) + ".bmp";
            if (gout.save(name)) std::printf("saved %s\n", name.c_str());
            else std::printf("could not save %s\n", name.c_str());
            std::fflush(stdout);
        }
        if (ev.ticks) {
            restore(background, shown_x, shown_y);
            put(sprite, x, y);
            shown_x = x;
            shown_y = y;
            gout << refresh;
        }
    }
}
