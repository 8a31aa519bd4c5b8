// Your first program: a greeting and a picture from a file. Build and run it
// (F9 in Code::Blocks, F5 in VS Code), then make it your own.
//
// It loads pictures/face.png by a name relative to the folder it runs in,
// which the projects set to this folder (and CMake's build copies pictures/
// beside the program). Put your own pictures in pictures/ too.
#include "graphics.hpp"
using namespace kavex;

int main() {
    gout.open(400, 300);
    gout << use_color(30, 60, 120) << move_abs(0, 0) << box_rel(399, 299)
         << use_color(255, 255, 255) << move_abs(20, 40);
    gout.draw_text("Hello! Change main.cpp and run it again.");

    canvas face;
    if (face.load("pictures/face.png")) {
        face.set_transparent(true);   // its black corners stay out of the copy
        gout.blitfrom(face, 200 - face.surface->w / 2, 150 - face.surface->h / 2);
    } else {
        gout << use_color(255, 200, 0) << move_abs(20, 150);
        gout.draw_text("No pictures/face.png where it runs.");
    }
    gout << refresh;

    event ev;
    while (gin.wait_event(ev)) {}   // until the window is closed
}
