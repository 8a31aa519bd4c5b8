# A Debian package with everything that cmake --install puts in place:
#   cmake --build build && cpack --config build/CPackConfig.cmake
# Its SDL dependencies are met by either SDL 1.2 provider: the classic
# library (libsdl1.2debian, libsdl1.2-dev) or the one on SDL2
# (libsdl1.2-compat-shim, libsdl1.2-compat-dev).
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kavex)
set(CPACK_PACKAGE_CONTACT "kavex developers <kavex@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
  "small graphics library on SDL 1.2, with two snowfall games")
set(CPACK_PACKAGE_DESCRIPTION
  "A small C++ graphics environment for people learning to write interactive
graphical programs: one window, drawing with a pen and a colour, text in a
built-in font, and one input source for keys, mouse and timer ticks. The
package holds the static library, its header, CMake and pkg-config files,
the examples and the documentation, and two games written on it: starsnow
and dotsnow.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION libdevel)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)   # libc and libstdc++ from the programs
set(CPACK_DEBIAN_PACKAGE_DEPENDS
  "libsdl1.2debian (>= 1.2.15) | libsdl1.2-compat-shim, libsdl1.2-dev | libsdl1.2-compat-dev, pkg-config")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "g++, cmake")
include(CPack)
