// Private to the library's browser build, included before every source file
// of it and of the programs built on it (see CMakeLists.txt).
//
// The browser's SDL says that every surface must be locked. The library's
// own surfaces (platform_web.cpp) are plain memory that stays, marked
// SDL_DONTFREE; they need no lock, so the drawing code writes to them at once.
#pragma once

#include <SDL/SDL.h>

#undef SDL_MUSTLOCK
#define SDL_MUSTLOCK(S) (((S)->flags & SDL_DONTFREE) == 0)
