// A program outside the project, built against an installed kavex: it draws
// into the window and checks what landed there, then names the SDL it runs on.
#include "graphics.hpp"

#include <cstdio>
#include <cstring>

using namespace kavex;

int main() {
    if (!gout.open(40, 30)) {
        std::puts("the window did not open");
        return 1;
    }
    gout << use_color(255, 128, 0) << move_abs(2, 3) << box_rel(4, 4) << refresh;

    Uint32 corner = 0;
    const auto* row = static_cast<const Uint8*>(gout.surface->pixels) + 7 * gout.surface->pitch;
    std::memcpy(&corner, row + 6 * 4, 4);
    if (corner != 0xFF8000) {
        std::printf("pixel (6, 7) is %06X, not FF8000\n", corner);
        return 2;
    }
    const SDL_version* v = SDL_Linked_Version();
    std::printf("drew on SDL %d.%d.%d\n", v->major, v->minor, v->patch);
    return 0;
}
