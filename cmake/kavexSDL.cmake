# SDL 1.2 for kavex, as the imported target kavex::sdl. Used by the build and
# by the installed package (find_package(kavex)), so both find it alike:
#   - through pkg-config's module `sdl`, where pkg-config is (not on Windows,
#     where that module asks for SDLmain and a program without a console);
#   - else through CMake's FindSDL, which also looks in CMAKE_PREFIX_PATH (an
#     unpacked SDL folder, or MSYS2's) and in SDLDIR.
# Sets kavex_sdl_FOUND.
if(TARGET kavex::sdl)
  set(kavex_sdl_FOUND TRUE)
  return()
endif()

if(NOT WIN32)
  find_package(PkgConfig QUIET)
  if(PKG_CONFIG_FOUND)
    pkg_check_modules(kavex_sdl QUIET IMPORTED_TARGET sdl)
  endif()
endif()

if(TARGET PkgConfig::kavex_sdl)
  add_library(kavex::sdl INTERFACE IMPORTED)
  set_target_properties(kavex::sdl PROPERTIES INTERFACE_LINK_LIBRARIES PkgConfig::kavex_sdl)
else()
  # kavex leaves main alone, so no SDLmain; and its programs are console
  # programs, so not MinGW's -mwindows, which FindSDL would add.
  set(SDL_BUILDING_LIBRARY ON)
  set(MINGW32_LIBRARY "" CACHE STRING "Link flags FindSDL adds for MinGW: none, kavex programs keep their console")
  find_package(SDL 1.2 QUIET)
  if(SDL_FOUND)
    # The library writes #include <SDL/SDL.h>, and SDL's headers include
    # each other by their plain names: both folders.
    get_filename_component(kavex_sdl_parent "${SDL_INCLUDE_DIR}" DIRECTORY)
    add_library(kavex::sdl INTERFACE IMPORTED)
    set_target_properties(kavex::sdl PROPERTIES
      INTERFACE_INCLUDE_DIRECTORIES "${kavex_sdl_parent};${SDL_INCLUDE_DIR}"
      INTERFACE_LINK_LIBRARIES "${SDL_LIBRARY}")
  endif()
endif()
if(TARGET kavex::sdl)
  set(kavex_sdl_FOUND TRUE)
else()
  set(kavex_sdl_FOUND FALSE)
endif()

# What to do when SDL is not found, for the build and the installed package.
if(WIN32)
  string(CONCAT kavex_sdl_missing "SDL 1.2 not found. Give the folder of kavex's Windows package, which has SDL in it: "
    "-DCMAKE_PREFIX_PATH=C:/where/you/unpacked/kavex-win64. "
    "Or, in MSYS2, install its SDL 1.2: pacman -S \$MINGW_PACKAGE_PREFIX-sdl12-compat")
else()
  string(CONCAT kavex_sdl_missing "SDL 1.2 not found. On Debian: apt-get install libsdl1.2-dev (or libsdl1.2-compat-dev). "
    "Elsewhere, give the folder that holds include/SDL/SDL.h and SDL's library: -DCMAKE_PREFIX_PATH=/path/to/SDL")
endif()
