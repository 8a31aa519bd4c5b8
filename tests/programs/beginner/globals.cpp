// A beginner's program with globals made from the window and the input
// source, in both of its files, before main: none may find them unbound, and
// the window opens through them. Ends with status 0 when all of that holds.
#include "graphics.hpp"

using namespace kavex;

canvas& screen = gout;           // the window, through a canvas&
grinput& input = gin;
extern canvas& other_screen;     // made in globals_other.cpp
extern bool other_drew_before_main;

int main() {
    if (&screen != &gout || &input != &gin || &other_screen != &gout) return 2;
    if (!other_drew_before_main) return 3;
    if (!screen.open(200, 100)) return 4;  // must open the window, not a surface of its own
    if (gout.surface != SDL_GetVideoSurface() || gout.surface->w != 200 || gout.surface->h != 100) return 5;
    screen << use_color(255, 0, 0) << move_abs(10, 20) << dot << refresh;
    const auto* row = static_cast<const std::uint8_t*>(gout.surface->pixels) + 20 * gout.surface->pitch;
    if (reinterpret_cast<const std::uint32_t*>(row)[10] != 0xFF0000) return 6;
    return input ? 0 : 7;
}
