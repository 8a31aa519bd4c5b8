# The list of programs to learn from (examples/list.txt), read once for the
# build: kavex_programs holds their names in the list's order, and for each
# name NAME the variables source_NAME and hint_NAME (what to do with it).
file(STRINGS ${PROJECT_SOURCE_DIR}/examples/list.txt kavex_list_lines REGEX "^[^#].*[|]")
set(kavex_programs)
set(kavex_examples)
foreach(line IN LISTS kavex_list_lines)
  # Matched field by field: a hint may hold a semicolon, which a CMake list would split at.
  if(NOT line MATCHES "^([^|]*)\\|([^|]*)\\|([^|]*)\\|([^|]*)\\|(.*)$")
    message(FATAL_ERROR "examples/list.txt: not five fields: ${line}")
  endif()
  string(STRIP "${CMAKE_MATCH_1}" name)
  string(STRIP "${CMAKE_MATCH_2}" source)
  string(STRIP "${CMAKE_MATCH_5}" hint)
  list(APPEND kavex_programs ${name})
  if(source MATCHES "^examples/")
    list(APPEND kavex_examples ${name})
  endif()
  set(source_${name} ${source})
  set(hint_${name} "${hint}")
endforeach()
