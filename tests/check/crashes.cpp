// A submission that crashes mid-run: it draws a little, then writes
// through a null pointer on the tenth event.
#include "graphics.hpp"

using namespace kavex;

int main() {
    gout.open(400, 300);
    event ev;
    int* volatile nowhere = nullptr;  // the compiler must not see it coming
    for (int events = 0; gin.wait_event(ev); ++events) {
        gout << move_abs(events % 400, 10) << dot << refresh;
        if (events == 10) *nowhere = 1;
    }
    return nowhere ? *nowhere : 0;
}
