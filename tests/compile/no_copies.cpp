// Mistakes that must not compile: the window and the input source exist once,
// and a copy of either would shut SDL down, or free the window's surface,
// when it went out of scope. KAVEX_CASE picks one mistake; case 0 is the
// correct use beside them, which must compile.
#include "graphics.hpp"

#include <utility>

using namespace kavex;

void by_reference(groutput&, grinput&) {}
#if KAVEX_CASE == 2
void by_value(groutput) {}
#endif

int main() {
    canvas copy = gout;  // a canvas may be copied: the copies share a surface
    by_reference(gout, gin);
#if KAVEX_CASE == 1
    auto window = gout;
#elif KAVEX_CASE == 2
    by_value(gout);
#elif KAVEX_CASE == 3
    groutput& other = groutput::instance();
    other = gout;
#elif KAVEX_CASE == 4
    groutput moved(std::move(gout));
#elif KAVEX_CASE == 5
    auto input = gin;
#elif KAVEX_CASE == 6
    grinput& other = grinput::instance();
    other = std::move(gin);
#endif
    return copy.surface == nullptr;
}
