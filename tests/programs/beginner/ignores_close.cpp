// A beginner's loop that never tests gin: after a close request it spins on
// wait_event. A second Ctrl-C must still end it.
#include "graphics.hpp"

using namespace kavex;

int main() {
    gout.open(100, 100);
    event ev;
    while (true) gin.wait_event(ev);
}
