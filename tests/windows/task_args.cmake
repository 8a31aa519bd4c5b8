# Prints the arguments of one task of a VS Code tasks.json, one a line, with
# the settings it names (${config:NAME}) taken from SETTINGS, a settings.json:
#   cmake -DTASKS=tasks.json -DLABEL="kavex: build" -DSETTINGS=settings.json -P task_args.cmake
file(READ "${TASKS}" json)
file(READ "${SETTINGS}" settings)
string(JSON count LENGTH "${json}" tasks)
math(EXPR last "${count} - 1")
foreach(i RANGE ${last})
  string(JSON label GET "${json}" tasks ${i} label)
  if(label STREQUAL LABEL)
    string(JSON args_count LENGTH "${json}" tasks ${i} args)
    math(EXPR args_last "${args_count} - 1")
    foreach(j RANGE ${args_last})
      string(JSON arg GET "${json}" tasks ${i} args ${j})
      if(arg MATCHES "^\\$\\{config:(.*)\\}$")
        string(JSON arg GET "${settings}" "${CMAKE_MATCH_1}")  # an error where settings.json lacks it
      endif()
      message("${arg}")
    endforeach()
    return()
  endif()
endforeach()
message(FATAL_ERROR "no task labelled ${LABEL}")
