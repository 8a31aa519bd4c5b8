# The library's manifest, the one place that says what makes kavex: the
# sources every build compiles, its public headers, and its sides, each the
# files behind one seam (sdl_side.hpp: the SDL underneath; os_side.hpp: the
# system's files and start-up), with the two sides each build takes. Read by
# the top CMakeLists.txt, so that every folder of the build sees it:
# graphics/CMakeLists.txt makes the library of it, the Windows package its
# one file (kavex_write_one_file), and kavex_write_manifest writes all of it,
# every side and build, into the build folder as library.tsv, which the
# playground's build (web/playground/build.mjs) and the scripts read. A new
# source or side is one edit here (docs/design.md's recipes say what else a
# side needs).
set(kavex_sources
  canvas.cpp dot.cpp line.cpp box.cpp circle.cpp text.cpp copy.cpp save.cpp load.cpp
  charset.cpp explain.cpp messages.cpp messages_en.cpp messages_hu.cpp messages_cs.cpp messages_sk.cpp messages_pl.cpp
  window.cpp input.cpp run_input.cpp transcript.cpp run_frames.cpp
  sound.cpp sound_output.cpp sound_file.cpp wav.cpp mixer.cpp ogg.cpp)
# What a program includes: the header and the inline paths it pulls in.
set(kavex_public_headers graphics.hpp graphics_inline.hpp dot_inline.hpp line_inline.hpp stream_inline.hpp)
# The sides, by seam.
set(kavex_side_sdl_desktop sdl_side_desktop.cpp sdl_audio.cpp)  # a desktop SDL 1.2
set(kavex_side_sdl_web sdl_side_web.cpp sdl_audio.cpp made_events.cpp memory_surface.cpp)  # Emscripten's SDL emulation
set(kavex_side_sdl_playground sdl_side_playground.cpp made_events.cpp memory_surface.cpp)  # no SDL: the page
set(kavex_side_os_posix os_side_posix.cpp)
set(kavex_side_os_windows os_side_windows.cpp)
set(kavex_side_os_playground os_side_playground.cpp)
set(kavex_sides sdl_desktop sdl_web sdl_playground os_posix os_windows os_playground)
# The builds: each one's SDL side, then its system side.
set(kavex_build_desktop sdl_desktop os_posix)  # Linux, and any POSIX desktop
set(kavex_build_windows sdl_desktop os_windows)
set(kavex_build_web sdl_web os_posix)
set(kavex_build_playground sdl_playground os_playground)  # web/playground/build.mjs
set(kavex_builds desktop windows web playground)
if(EMSCRIPTEN)
  set(kavex_build web)
elseif(WIN32)
  set(kavex_build windows)
else()
  set(kavex_build desktop)
endif()

# The sources of one build: the shared ones, then its sides' (each once).
function(kavex_build_sources build out)
  set(sources ${kavex_sources})
  foreach(side IN LISTS kavex_build_${build})
    list(APPEND sources ${kavex_side_${side}})
  endforeach()
  list(REMOVE_DUPLICATES sources)
  set(${out} ${sources} PARENT_SCOPE)
endfunction()

# library.tsv: one fact a line, its kind, its name and its files (or sides)
# between tabs, the files between spaces: the shared sources, the public
# headers, each side's files, each build's sides and then all of its
# sources; "this" names the build this folder is. The folders are those of the headers the playground compiles
# against, found on the build machine.
function(kavex_write_manifest file)
  list(JOIN kavex_sources " " line)
  string(APPEND table "kind\tname\tvalue\nsources\tshared\t${line}\n")
  list(JOIN kavex_public_headers " " line)
  string(APPEND table "headers\tpublic\t${line}\n")
  foreach(side IN LISTS kavex_sides)
    list(JOIN kavex_side_${side} " " line)
    string(APPEND table "side\t${side}\t${line}\n")
  endforeach()
  foreach(build IN LISTS kavex_builds)
    list(JOIN kavex_build_${build} " " line)
    string(APPEND table "build\t${build}\t${line}\n")
    kavex_build_sources(${build} sources)
    list(JOIN sources " " line)
    string(APPEND table "sources\t${build}\t${line}\n")
  endforeach()
  string(APPEND table "this\t${kavex_build}\t\n")
  string(APPEND table "folder\tstb\t${KAVEX_STB_INCLUDE_DIR}\nfolder\tsdl_headers\t${KAVEX_SDL_HEADERS_DIR}\n")
  file(CONFIGURE OUTPUT ${file} CONTENT "${table}" @ONLY)
endfunction()

# kavex's whole library as one file: the Windows package ships it
# (src/kavex.cpp) for a compiler that cannot link the prebuilt library.
function(kavex_write_one_file build file)
  kavex_build_sources(${build} sources)
  set(text "// kavex's whole library in one file, to build it with a program by any\n")
  string(APPEND text "// compiler: g++ -std=c++17 main.cpp K/src/kavex.cpp ... (README-windows.txt).\n")
  foreach(source IN LISTS sources)
    string(APPEND text "#include \"graphics/${source}\"\n")
  endforeach()
  file(CONFIGURE OUTPUT ${file} CONTENT "${text}" @ONLY)
endfunction()
