# Prints one value of a JSON file, found by its keys and indices (an array
# one element a line):
#   cmake -DFILE=launch.json -DKEYS="configurations;0;cwd" -P json_get.cmake
file(READ "${FILE}" json)
string(JSON type TYPE "${json}" ${KEYS})
if(type STREQUAL ARRAY)
  string(JSON count LENGTH "${json}" ${KEYS})
  math(EXPR last "${count} - 1")
  foreach(i RANGE ${last})
    string(JSON element GET "${json}" ${KEYS} ${i})
    message("${element}")
  endforeach()
else()
  string(JSON value GET "${json}" ${KEYS})
  message("${value}")
endif()
