# What every test folder (tests/*) and bench/ share: GoogleTest, the SDL
# providers each test runs on, the sanitizers' settings, and the functions
# that register a test once per provider. Included when KAVEX_TESTS is on.

# GoogleTest: the system's, or, cross-built for Windows, from the source that
# Debian's googletest package puts in /usr/src/googletest.
if(CMAKE_CROSSCOMPILING)
  set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
else()
  find_package(GTest REQUIRED)
endif()

# The compatibility library (SDL 1.2 on SDL2) installs beside the classic one
# in its own folder; LD_LIBRARY_PATH selects it at run time. On Windows the
# tests run once, on the SDL.dll they find beside them (KAVEX_SDL_DLL).
if(WIN32)
  set(KAVEX_PROVIDERS windows)
  get_target_property(sdl_link kavex::sdl INTERFACE_LINK_LIBRARIES)
  list(GET sdl_link 0 sdl_import_library)
  get_filename_component(sdl_prefix "${sdl_import_library}" DIRECTORY)
  set(KAVEX_SDL_DLL "${sdl_prefix}/../bin/SDL.dll")
else()
  find_path(KAVEX_SDL_COMPAT_DIR libSDL-1.2.so.0
    PATHS /usr/lib/${CMAKE_LIBRARY_ARCHITECTURE}/sdl12-compat NO_DEFAULT_PATH)
  set(KAVEX_PROVIDERS classic)
  if(KAVEX_SDL_COMPAT_DIR)
    list(APPEND KAVEX_PROVIDERS compat)
  else()
    message(WARNING "libsdl1.2-compat not found: tests run on the classic SDL only")
  endif()
endif()

add_library(kavex_test_main OBJECT ${PROJECT_SOURCE_DIR}/tests/unit/test_main.cpp)
target_link_libraries(kavex_test_main PUBLIC GTest::gtest kavex::kavex)

# Sanitized runs stop at the first report. Leak reports are matched against
# the suppressions with full stacks, since SDL is built without frame pointers.
set(KAVEX_SANITIZER_ENV "")
if(KAVEX_SANITIZE)
  list(APPEND KAVEX_SANITIZER_ENV
    "ASAN_OPTIONS=fast_unwind_on_malloc=0:detect_stack_use_after_return=1:strict_string_checks=1"
    "LSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/tests/lsan.supp:print_suppressions=0"
    "UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1"
    "TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1:suppressions=${PROJECT_SOURCE_DIR}/tests/tsan.supp")
endif()

# Registers `command` once per SDL provider as NAME.classic and NAME.compat.
function(kavex_add_provider_tests name)
  cmake_parse_arguments(ARG "" "" "COMMAND;ENVIRONMENT;PROPERTIES" ${ARGN})
  foreach(provider ${KAVEX_PROVIDERS})
    set(env ${KAVEX_SANITIZER_ENV} ${ARG_ENVIRONMENT})
    if(NOT provider STREQUAL "windows")  # on Windows there is one SDL
      list(APPEND env KAVEX_EXPECT_SDL=${provider})
    endif()
    if(provider STREQUAL "compat")
      list(APPEND env LD_LIBRARY_PATH=${KAVEX_SDL_COMPAT_DIR})
    endif()
    add_test(NAME ${name}.${provider} COMMAND ${ARG_COMMAND})
    set_tests_properties(${name}.${provider} PROPERTIES ENVIRONMENT "${env}" ${ARG_PROPERTIES})
  endforeach()
endfunction()

# A GoogleTest suite from NAME.cpp, run headless on SDL's dummy video driver.
function(kavex_unit_test name)
  add_executable(${name} ${name}.cpp)
  target_link_libraries(${name} PRIVATE kavex_test_main ${ARGN})
  kavex_add_provider_tests(${name} COMMAND ${name} ENVIRONMENT SDL_VIDEODRIVER=dummy
    PROPERTIES TIMEOUT 120)  # a wait that never ends fails instead of hanging
endfunction()

# Suites whose code runs on more than one thread (SDL's timer thread): the
# target thread_tests builds them and the label `threads` selects them, so
# that scripts/test can run them under ThreadSanitizer.
add_custom_target(thread_tests)
function(kavex_thread_tests)
  foreach(name ${ARGN})
    add_dependencies(thread_tests ${name})
    foreach(provider ${KAVEX_PROVIDERS})
      set_property(TEST ${name}.${provider} APPEND PROPERTY LABELS threads)
    endforeach()
  endforeach()
endfunction()
