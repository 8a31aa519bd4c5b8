# The list of programs (examples/list.txt), read here and nowhere else.
#
# Included by the build: kavex_programs holds every name in the list's order,
# kavex_examples those whose source lies in examples/, kavex_installed the
# others (a folder of their own, installed as a command); for each NAME, source_NAME, title_NAME and
# hint_NAME (what to do with it). kavex_add_programs() makes a target of
# each, and the parsed list is written to the build folder as programs.tsv,
# one program a line after a header line, its fields between tabs:
#   name  source  kind (example or installed)  title  what it teaches  what to do
# which the gallery, the web tests and the scripts read.
#
# As a script, for the scripts that need the list without a build:
#   cmake -D out=FILE -P cmake/programs.cmake   writes programs.tsv as FILE
#   cmake -D check=ON -P cmake/programs.cmake   fails, naming each, when a
#       program exists that the list does not name (examples/*.cpp, or a
#       folder's main.cpp) or the list names a file that does not exist
cmake_policy(VERSION 3.20)  # the same rules when run as a script
get_filename_component(kavex_root ${CMAKE_CURRENT_LIST_DIR} DIRECTORY)
set(kavex_list ${kavex_root}/examples/list.txt)

file(STRINGS ${kavex_list} kavex_list_lines REGEX "^[^#].*[|]")
set(kavex_programs)
set(kavex_examples)
set(kavex_installed)
set(kavex_programs_tsv "name\tsource\tkind\ttitle\tteaches\thint\n")
foreach(line IN LISTS kavex_list_lines)
  # Matched field by field: a hint may hold a semicolon, which a CMake list would split at.
  if(NOT line MATCHES "^([^|]*)\\|([^|]*)\\|([^|]*)\\|([^|]*)\\|(.*)$")
    message(FATAL_ERROR "examples/list.txt: not five fields: ${line}")
  endif()
  string(STRIP "${CMAKE_MATCH_1}" name)
  string(STRIP "${CMAKE_MATCH_2}" source)
  string(STRIP "${CMAKE_MATCH_3}" title)
  string(STRIP "${CMAKE_MATCH_4}" teaches)
  string(STRIP "${CMAKE_MATCH_5}" hint)
  list(APPEND kavex_programs ${name})
  if(source MATCHES "^examples/")
    list(APPEND kavex_examples ${name})
    set(kind example)
  else()
    list(APPEND kavex_installed ${name})
    set(kind installed)
  endif()
  set(source_${name} ${source})
  set(title_${name} "${title}")
  set(hint_${name} "${hint}")
  string(APPEND kavex_programs_tsv "${name}\t${source}\t${kind}\t${title}\t${teaches}\t${hint}\n")
endforeach()

# Each program from its one source, its file in the build folder where its
# source lies (build/examples/hello, build/starsnow/starsnow).
# The files a program loads lie in the folders `pictures` and `sounds` beside
# its source; sets `out` to those of them that exist (none, one or both).
set(kavex_file_folders pictures sounds)
function(kavex_files_beside source out)
  get_filename_component(folder ${source} DIRECTORY)
  set(found)
  foreach(kind IN LISTS kavex_file_folders)
    if(IS_DIRECTORY ${folder}/${kind})
      list(APPEND found ${folder}/${kind})
    endif()
  endforeach()
  set(${out} ${found} PARENT_SCOPE)
endfunction()

function(kavex_add_programs)
  foreach(name IN LISTS kavex_programs)
    add_executable(${name} ${PROJECT_SOURCE_DIR}/${source_${name}})
    target_link_libraries(${name} PRIVATE kavex::kavex)
    get_filename_component(folder ${source_${name}} DIRECTORY)
    set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/${folder})
    # Beside the program too, where it finds them when started in its folder.
    kavex_files_beside(${PROJECT_SOURCE_DIR}/${source_${name}} file_folders)
    foreach(files IN LISTS file_folders)
      if(NOT EMSCRIPTEN)
        get_filename_component(kind ${files} NAME)
        add_custom_command(TARGET ${name} POST_BUILD
          COMMAND ${CMAKE_COMMAND} -E copy_directory ${files} ${CMAKE_BINARY_DIR}/${folder}/${kind})
      endif()
    endforeach()
  endforeach()
endfunction()

function(kavex_check_programs)
  set(problems)
  foreach(name IN LISTS kavex_programs)
    if(NOT EXISTS ${kavex_root}/${source_${name}})
      string(APPEND problems "examples/list.txt names ${source_${name}}, which does not exist\n")
    endif()
    list(APPEND listed ${source_${name}})
  endforeach()
  file(GLOB programs RELATIVE ${kavex_root} ${kavex_root}/examples/*.cpp ${kavex_root}/*/main.cpp)
  list(REMOVE_ITEM programs bench/main.cpp)  # the benchmarks' own main
  foreach(program IN LISTS programs)
    if(NOT program IN_LIST listed)
      string(APPEND problems "${program} is missing from examples/list.txt\n")
    endif()
  endforeach()
  if(problems)
    message(FATAL_ERROR "${problems}")
  endif()
endfunction()

if(CMAKE_SCRIPT_MODE_FILE)
  if(check)
    kavex_check_programs()
  endif()
  if(out)
    file(WRITE ${out} "${kavex_programs_tsv}")
  endif()
else()
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${kavex_list})
  file(WRITE ${CMAKE_BINARY_DIR}/programs.tsv "${kavex_programs_tsv}")
endif()
