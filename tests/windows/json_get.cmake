# Prints one value of a JSON file, found by its keys and indices:
#   cmake -DFILE=launch.json -DKEYS="configurations;0;cwd" -P json_get.cmake
file(READ "${FILE}" json)
string(JSON value GET "${json}" ${KEYS})
message("${value}")
