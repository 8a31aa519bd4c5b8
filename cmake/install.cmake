# cmake --install: the header, the static library, the programs, a CMake
# package (find_package(kavex)) and a pkg-config file (kavex.pc).
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

set(KAVEX_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/kavex)

install(TARGETS kavex EXPORT kavexTargets
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
  PUBLIC_HEADER DESTINATION ${KAVEX_INSTALL_INCLUDEDIR})

install(EXPORT kavexTargets NAMESPACE kavex:: DESTINATION ${KAVEX_CMAKE_DIR})
configure_package_config_file(cmake/kavexConfig.cmake.in
  ${CMAKE_CURRENT_BINARY_DIR}/kavexConfig.cmake
  INSTALL_DESTINATION ${KAVEX_CMAKE_DIR})
write_basic_package_version_file(${CMAKE_CURRENT_BINARY_DIR}/kavexConfigVersion.cmake
  COMPATIBILITY SameMinorVersion)
install(FILES
  ${CMAKE_CURRENT_BINARY_DIR}/kavexConfig.cmake
  ${CMAKE_CURRENT_BINARY_DIR}/kavexConfigVersion.cmake
  cmake/kavexSDL.cmake
  DESTINATION ${KAVEX_CMAKE_DIR})

# The prefix is known only when installing (cmake --install --prefix, or a
# package's /usr), so kavex.pc is written then, from a template that has
# everything else filled in already.
set(prefix "@prefix@")
configure_file(cmake/kavex.pc.in ${CMAKE_CURRENT_BINARY_DIR}/kavex.pc.in @ONLY)
install(CODE "
  set(prefix \"\${CMAKE_INSTALL_PREFIX}\")
  set(pc_file \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_LIBDIR}/pkgconfig/kavex.pc\")
  message(STATUS \"Installing: \${pc_file}\")
  configure_file(\"${CMAKE_CURRENT_BINARY_DIR}/kavex.pc.in\" \"\${pc_file}\" @ONLY)
  list(APPEND CMAKE_INSTALL_MANIFEST_FILES \"\${pc_file}\")
")

# Each installed program (one of examples/list.txt in a folder of its own), with its
# manual page compressed as Debian wants it where manual pages are read. The
# examples are installed as sources, below.
foreach(program ${kavex_installed})
  install(TARGETS ${program} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  if(UNIX)
    set(page ${CMAKE_CURRENT_BINARY_DIR}/man/${program}.6.gz)
    add_custom_command(OUTPUT ${page}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_CURRENT_BINARY_DIR}/man
      COMMAND sh -c "gzip -9n -c '${CMAKE_CURRENT_SOURCE_DIR}/docs/man/${program}.6' > '${page}'"
      DEPENDS docs/man/${program}.6
      VERBATIM)
    add_custom_target(${program}_manual ALL DEPENDS ${page})
    install(FILES ${page} DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
  endif()
endforeach()

# The documents keep their layout, so the README's links work where installed.
install(FILES README.md DESTINATION ${CMAKE_INSTALL_DOCDIR})
file(GLOB KAVEX_DOCS CONFIGURE_DEPENDS docs/*.md docs/*.png)
install(FILES ${KAVEX_DOCS} DESTINATION ${CMAKE_INSTALL_DOCDIR}/docs)
install(DIRECTORY examples/ DESTINATION ${CMAKE_INSTALL_DOCDIR}/examples
  FILES_MATCHING PATTERN "*.cpp" REGEX "/template/CMakeLists\\.txt$" REGEX "/(pictures|sounds)/[^/]*$" REGEX "/runs/[^/]*\\.txt$"
  PATTERN vscode EXCLUDE)   # the VS Code files' sources: the Windows package makes .vscode/ of them
# The template's own program loads a picture from the folder it runs in.
install(FILES examples/pictures/face.png DESTINATION ${CMAKE_INSTALL_DOCDIR}/examples/template/pictures)

if(WIN32)
  include(cmake/windows-package.cmake)
endif()
