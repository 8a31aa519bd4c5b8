// A probe for keys_e2e: prints each key press it gets, and whether the A key
// is held, each time that changes (a letter's release is never reported, so
// a 20 ms timer looks). With the argument "repeat" it asks for key repeat
// (200 ms, then every 50 ms) before it opens its window.
//
//   press 97
//   held a=1 A=1
//   held a=0 A=0
#include "graphics.hpp"

#include <cstdio>
#include <cstring>

using namespace kavex;

int main(int argc, char** argv) {
    std::setvbuf(stdout, nullptr, _IOLBF, 0);  // the test reads a pipe
    if (argc > 1 && std::strcmp(argv[1], "repeat") == 0) gin.key_repeat(200, 50);
    gout.open(200, 100);
    gout << refresh;
    gin.timer(20);
    bool small = false, capital = false;
    event ev;
    while (gin.wait_event(ev)) {
        if (ev.key > 0) std::printf("press %d\n", ev.key);
        if (gin.held('a') != small || gin.held('A') != capital) {
            small = gin.held('a');
            capital = gin.held('A');
            std::printf("held a=%d A=%d\n", small, capital);
        }
    }
}
