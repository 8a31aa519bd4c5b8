// Private to the library's browser build, included before every source file
// of it and of the programs built on it (see CMakeLists.txt): the one part of
// the browser's SDL side that the preprocessor must carry.
//
// The browser's SDL says that every surface must be locked. The library's
// own surfaces (sdl_side_web.cpp) are plain memory that stays, marked
// SDL_DONTFREE; they need no lock. The drawing code asks SDL_MUSTLOCK before
// it writes (pixels.hpp, dot_inline.hpp, line_inline.hpp), also inline in a
// program's own code, so the answer must be right there too: this redefinition
// makes it so, and lets dots and lines take their fast path in the browser.
#pragma once

#include <SDL/SDL.h>

#undef SDL_MUSTLOCK
#define SDL_MUSTLOCK(S) (((S)->flags & SDL_DONTFREE) == 0)
