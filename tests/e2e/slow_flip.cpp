// Fault injection for the end-to-end tests: preloaded into a program
// (LD_PRELOAD), it makes every SDL_Flip take at least KAVEX_FLIP_DELAY_MS
// milliseconds (80 when unset) and then calls the real SDL_Flip of whichever
// SDL the program loaded. A program whose frames take longer than its timer
// period falls behind on any machine, however fast or idle; everything else
// stays the real SDL, the real X server and real input.
#include <dlfcn.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

struct SDL_Surface;  // only passed through: the wrapper needs no SDL headers

namespace {

using flip_function = int (*)(SDL_Surface*);

std::chrono::milliseconds flip_delay() {
    const char* text = std::getenv("KAVEX_FLIP_DELAY_MS");
    return std::chrono::milliseconds(text ? std::atoi(text) : 80);
}

flip_function real_flip() {
    static const auto real = reinterpret_cast<flip_function>(dlsym(RTLD_NEXT, "SDL_Flip"));
    return real;
}

}  // namespace

extern "C" __attribute__((visibility("default"))) int SDL_Flip(SDL_Surface* screen) {
    static const std::chrono::milliseconds delay = flip_delay();
    std::this_thread::sleep_for(delay);
    const flip_function real = real_flip();
    if (!real) {
        std::fputs("slow_flip: no SDL_Flip after this library; is SDL loaded?\n", stderr);
        std::abort();
    }
    return real(screen);
}
