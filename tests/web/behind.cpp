// A program that falls behind: the work for each tick takes 120 ms against a
// 40 ms period. Built as a page of its own by scripts/test-web, which also
// tries scripts/web on a one-file program.
#include "graphics.hpp"

#include <cstdio>

using namespace kavex;

int main() {
    gout.open(100, 100);
    gin.timer(40);
    event ev;
    while (gin) {
        gin.wait_event(ev);
        if (ev.key) std::printf("key %d\n", ev.key);
        if (ev.ticks) {
            std::printf("tick %d\n", ev.ticks);
            for (const Uint32 end = SDL_GetTicks() + 120; SDL_GetTicks() < end;) {
            }
            gout << refresh;
        }
    }
}
