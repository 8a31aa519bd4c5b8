# The browser build: each program becomes one self-contained web page,
# NAME.html, in KAVEX_WEB_PAGES_DIR (the build folder by default).
#
#   emcmake cmake -S . -B DIR                       every program of the project
#   emcmake cmake -S . -B DIR -DKAVEX_WEB_PROGRAM=/path/to/own.cpp
#                                                   one program of one's own
#
# The programs' blocking loops run through Asyncify: the library's wait
# sleeps, and the sleep returns to the browser until the next poll.
set(KAVEX_WEB_PAGES_DIR "${CMAKE_BINARY_DIR}" CACHE PATH "Where the pages go")
set(KAVEX_WEB_PROGRAM "" CACHE FILEPATH "A one-file program of one's own to build instead of the project's")

add_subdirectory(graphics)

set(kavex_web_link_options
  -sASYNCIFY -sASYNCIFY_STACK_SIZE=262144  # C++ frames are deep for the default 4 KB
  -sALLOW_MEMORY_GROWTH=1                  # a large canvas fails to open instead of aborting
  -sSINGLE_FILE=1                          # the wasm inside the page, which then opens from file://
  -sMINIFY_HTML=0)

# Makes the program `target`, built from `source`, the page NAME.html, with
# `hint` as the line of help under the picture. The folders `pictures` and
# `sounds` beside the source go into the page, where the program finds them
# as "pictures/..." and "sounds/...".
function(kavex_web_page target name hint source)
  set(KAVEX_PAGE_TITLE ${name})
  set(KAVEX_PAGE_HINT ${hint})
  set(shell ${CMAKE_BINARY_DIR}/shells/${name}.html)
  configure_file(${PROJECT_SOURCE_DIR}/web/shell.html.in ${shell} @ONLY)
  target_link_libraries(${target} PRIVATE kavex::kavex)
  target_link_options(${target} PRIVATE ${kavex_web_link_options} "SHELL:--shell-file ${shell}")
  set_target_properties(${target} PROPERTIES OUTPUT_NAME ${name} SUFFIX .html
    RUNTIME_OUTPUT_DIRECTORY ${KAVEX_WEB_PAGES_DIR} LINK_DEPENDS ${shell})
  kavex_files_beside(${source} file_folders)
  foreach(files IN LISTS file_folders)
    get_filename_component(kind ${files} NAME)
    target_link_options(${target} PRIVATE "SHELL:--embed-file ${files}@/${kind}")
    file(GLOB_RECURSE embedded CONFIGURE_DEPENDS ${files}/*)
    set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${embedded})
  endforeach()
endfunction()

set(kavex_click_hint "Click the picture to give it the keyboard.")

if(KAVEX_WEB_PROGRAM)
  get_filename_component(name ${KAVEX_WEB_PROGRAM} NAME_WE)
  add_executable(own_program ${KAVEX_WEB_PROGRAM})
  kavex_web_page(own_program ${name} "${kavex_click_hint}" ${KAVEX_WEB_PROGRAM})
  return()
endif()

# Each program of examples/list.txt, with its line of what to do.
kavex_add_programs()
foreach(program ${kavex_programs})
  kavex_web_page(${program} ${program} "${hint_${program}}" ${PROJECT_SOURCE_DIR}/${source_${program}})
endforeach()
