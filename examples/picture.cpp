// A picture from a file: the face in pictures/face.png (made in a paint
// program, its corners see-through) moves over a meadow while you hold the
// arrows. S saves the window as picture.bmp.
#include "graphics.hpp"

#include <cstdio>

using namespace kavex;

namespace {

constexpr int width = 400, height = 300;

// Sky, hills and a sun, drawn once and copied under the face every frame.
void draw_meadow(canvas& c) {
    for (int y = 0; y < height; ++y) {
        c << use_color(90 + y / 4, 150 + y / 5, 255) << move_abs(0, y) << line_abs(width - 1, y);
    }
    c << use_color(255, 230, 80) << move_abs(330, 60) << disc(30);
    c << use_color(60, 170, 60) << move_abs(90, height - 1) << disc(110);  // a disc may reach past the edge
    c << use_color(40, 140, 50) << move_abs(320, height - 1) << disc(90);
    c << use_color(255, 255, 255) << move_abs(10, 20);
    c.draw_text("hold the arrows to move; S saves");
}

// The face, or a plain yellow disc when the file cannot be read.
void get_face(canvas& face) {
    if (!face.load("pictures/face.png")) {
        std::printf("could not load pictures/face.png: a disc stands in for it\n");
        face.open(40, 40);
        face << use_color(250, 200, 40) << move_abs(20, 20) << disc(18);
    }
    face.set_transparent(true);  // its black corners stay out of the copy
}

}  // namespace

int main() {
    gout.open(width, height);
    gout.set_title("Picture");
    canvas meadow(width, height), face;
    draw_meadow(meadow);
    get_face(face);
    if (!face.surface) return 1;
    const int face_w = face.surface->w, face_h = face.surface->h;

    int x = (width - face_w) / 2, y = (height - face_h) / 2;
    gin.timer(20);
    event ev;
    while (gin.wait_event(ev)) {
        if (ev.key == 's' || ev.key == 'S') {
            std::printf(gout.save("picture.bmp") ? "saved picture.bmp\n" : "could not save picture.bmp\n");
            std::fflush(stdout);
        }
        if (ev.ticks) {
            if (gin.held(key_left)) x -= 3;
            if (gin.held(key_right)) x += 3;
            if (gin.held(key_up)) y -= 3;
            if (gin.held(key_down)) y += 3;
            x = x < 0 ? 0 : x > width - face_w ? width - face_w : x;
            y = y < 0 ? 0 : y > height - face_h ? height - face_h : y;
            gout.blitfrom(meadow, 0, 0);
            gout.blitfrom(face, x, y);
            gout << refresh;
        }
    }
}
