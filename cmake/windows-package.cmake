# What the Windows package holds besides the prebuilt library (scripts/windows
# installs it and lays it out):
#   src/        kavex's source, and src/kavex.cpp, which is all of it in one
#               file, for a compiler that cannot link the prebuilt libkavex.a;
#   examples/template/  a project for Code::Blocks (kavex.cbp) and for VS Code
#               (.vscode/), made from the compiler lines of docs/windows.txt,
#               so that an editor builds exactly as the tested lines do.

# The library's sources for Windows, as the manifest lists them
# (graphics/manifest.cmake), with the private headers they include.
kavex_build_sources(windows kavex_windows_sources)
file(GLOB kavex_private_headers ${PROJECT_SOURCE_DIR}/graphics/*.hpp ${PROJECT_SOURCE_DIR}/graphics/*.inc)
get_target_property(kavex_public_headers kavex PUBLIC_HEADER)
list(REMOVE_ITEM kavex_private_headers ${kavex_public_headers})
foreach(source IN LISTS kavex_windows_sources)
  install(FILES graphics/${source} DESTINATION src/graphics)
endforeach()
install(FILES ${kavex_private_headers} DESTINATION src/graphics)
# The picture decoder and encoder that load.cpp and run_frames.cpp include: beside them, so
# that any compiler finds it with no include folder of its own.
install(FILES ${KAVEX_STB_INCLUDE_DIR}/stb_image.h ${KAVEX_STB_INCLUDE_DIR}/stb_image_write.h
  ${KAVEX_STB_INCLUDE_DIR}/stb_vorbis.h DESTINATION src/graphics)
kavex_write_one_file(windows ${CMAKE_CURRENT_BINARY_DIR}/windows/kavex.cpp)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/windows/kavex.cpp DESTINATION src)

# The text's two compiler lines: the first links the prebuilt library, the
# second compiles kavex's source with the program. K is the package's folder,
# two folders up from examples/template.
set(kavex_from_template ../..)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/docs/windows.txt)
file(STRINGS ${PROJECT_SOURCE_DIR}/docs/windows.txt kavex_lines REGEX "^    g\\+\\+ ")
list(LENGTH kavex_lines kavex_line_count)
if(NOT kavex_line_count EQUAL 2)
  message(FATAL_ERROR "docs/windows.txt: ${kavex_line_count} g++ lines, not the two the templates are made from")
endif()

# Sets, for one compiler line, the pieces of the templates, which build it
# with -g for the editors' debuggers, and in Code::Blocks, which cannot set a
# run's environment, with KAVEX_EXPLAIN_BY_DEFAULT (PREFIX_words: the arguments, K seen from
# the template; PREFIX_json: the arguments as a JSON list; PREFIX_compiler,
# PREFIX_linker: Code::Blocks options; PREFIX_units: its files other than
# main.cpp; PREFIX_output: the program's name; PREFIX_include: the header's
# folder).
function(kavex_template_pieces line prefix)
  separate_arguments(words UNIX_COMMAND "${line}")
  list(POP_FRONT words)  # g++
  list(INSERT words 0 -g)
  list(TRANSFORM words REPLACE "^K/" "${kavex_from_template}/")
  set(json "")
  set(compiler "")
  set(linker "")
  set(units "")
  set(include "")
  set(output "")
  set(value_of "")  # the option whose value the word is
  foreach(word IN LISTS words)
    string(APPEND json "\n        \"${word}\",")
    if(value_of STREQUAL "-I")
      set(include "${word}")
      string(APPEND compiler "\n\t\t\t\t\t<Add directory=\"${word}\" />")
    elseif(value_of STREQUAL "-L")
      string(APPEND linker "\n\t\t\t\t\t<Add directory=\"${word}\" />")
    elseif(value_of STREQUAL "-o")
      string(REGEX REPLACE "\\.exe$" "" output "${word}")
    elseif(word MATCHES "^-[ILo]$")
      # its value follows
    elseif(word MATCHES "^-(std=|g$)")
      string(APPEND compiler "\n\t\t\t\t\t<Add option=\"${word}\" />")
    elseif(word MATCHES "^-l(.*)")
      string(APPEND linker "\n\t\t\t\t\t<Add library=\"${CMAKE_MATCH_1}\" />")
    elseif(word MATCHES "^-")
      string(APPEND linker "\n\t\t\t\t\t<Add option=\"${word}\" />")
    elseif(word MATCHES "\\.cpp$" AND NOT word STREQUAL "main.cpp")
      list(APPEND units "${word}")
    endif()
    if(NOT value_of AND word MATCHES "^-[ILo]$")
      set(value_of ${word})
    else()
      set(value_of "")
    endif()
  endforeach()
  string(REGEX REPLACE ",$" "" json "${json}")
  string(APPEND compiler "\n\t\t\t\t\t<Add option=\"-DKAVEX_EXPLAIN_BY_DEFAULT\" />")
  set(${prefix}_words "${words}" PARENT_SCOPE)
  set(${prefix}_json "${json}" PARENT_SCOPE)
  set(${prefix}_compiler "${compiler}" PARENT_SCOPE)
  set(${prefix}_linker "${linker}" PARENT_SCOPE)
  set(${prefix}_units "${units}" PARENT_SCOPE)
  set(${prefix}_output "${output}" PARENT_SCOPE)
  set(${prefix}_include "${include}" PARENT_SCOPE)
endfunction()

list(GET kavex_lines 0 kavex_prebuilt_line)
list(GET kavex_lines 1 kavex_source_line)
kavex_template_pieces("${kavex_prebuilt_line}" prebuilt)
kavex_template_pieces("${kavex_source_line}" source)
# VS Code builds with one task whose one word for kavex is a setting,
# kavex.library in .vscode/settings.json: the source (the default, as in
# Code::Blocks) or the prebuilt library. The two lines differ in that word alone.
set(library_from_source ${source_words})
list(REMOVE_ITEM library_from_source ${prebuilt_words})
set(library_prebuilt ${prebuilt_words})
list(REMOVE_ITEM library_prebuilt ${source_words})
list(LENGTH library_from_source source_only)
list(LENGTH library_prebuilt prebuilt_only)
if(NOT source_only EQUAL 1 OR NOT prebuilt_only EQUAL 1)
  message(FATAL_ERROR "docs/windows.txt: the two g++ lines differ in more than kavex's one word "
    "(${library_from_source} against ${library_prebuilt})")
endif()
string(REPLACE "\"${library_from_source}\"" "\"\${config:kavex.library}\"" library_json "${source_json}")

set(source_unit_entries "")
foreach(unit IN LISTS source_units)
  string(APPEND source_unit_entries "\n\t\t<Unit filename=\"${unit}\">\n\t\t\t<Option target=\"from source\" />\n\t\t</Unit>")
endforeach()

# SDL.dll beside the program, so that it starts from its folder (Windows'
# copy, run through cmd).
string(REPLACE "/" "\\" sdl_dll "${kavex_from_template}/bin/SDL.dll")
set(copy_sdl_dll "cmd /c copy /y ${sdl_dll} .")
string(REPLACE "\\" "\\\\" sdl_dll_json "${sdl_dll}")

set(template_out ${CMAKE_CURRENT_BINARY_DIR}/windows/template)
configure_file(examples/template/kavex.cbp.in ${template_out}/kavex.cbp @ONLY)
foreach(file tasks.json launch.json settings.json c_cpp_properties.json)
  configure_file(examples/template/vscode/${file}.in ${template_out}/.vscode/${file} @ONLY)
endforeach()
install(DIRECTORY ${template_out}/ DESTINATION ${CMAKE_INSTALL_DOCDIR}/examples/template)
