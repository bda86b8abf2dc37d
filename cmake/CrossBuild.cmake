# SPDX-License-Identifier: AGPL-3.0-or-later
# A cross build for Windows with MinGW-w64 (the toolchain file cmake/MinGW-w64.cmake, the preset
# windows-cross): the layers without Qt (records, the classic core, the reading texts, the pipeline,
# the formats), the companion quillmere-chart.exe and their tests. The windows need Qt 6 for Windows,
# the precise engine the Swiss Ephemeris and the atlas the date/tz library, none of which Debian ships
# for MinGW, so the preset leaves them out.
if(NOT WIN32)
  message(FATAL_ERROR "Cross builds are set up for Windows only (cmake/MinGW-w64.cmake)")
endif()
if(QUILLMERE_GUI OR QUILLMERE_PRECISE OR QUILLMERE_ATLAS)
  message(FATAL_ERROR "The Windows cross build holds the layers without Qt only: configure with "
    "-DQUILLMERE_GUI=OFF -DQUILLMERE_PRECISE=OFF -DQUILLMERE_ATLAS=OFF (the preset windows-cross does)")
endif()

# The Windows programs run under Wine: ctest runs the tests through it, in a Wine prefix of the build
# folder, headless.
set(QUILLMERE_WINE_PREFIX ${CMAKE_BINARY_DIR}/wine-prefix)
set(CMAKE_CROSSCOMPILING_EMULATOR ${PROJECT_SOURCE_DIR}/cmake/wine-run.sh ${QUILLMERE_WINE_PREFIX})
# Making the prefix takes a while, so the build makes it rather than the first test, within its time limit.
find_program(QUILLMERE_WINE wine)
if(NOT QUILLMERE_WINE)
  message(STATUS "Wine was not found: the Windows tests can be built but not run here")
elseif(QUILLMERE_BUILD_TESTS)
  add_custom_command(OUTPUT ${QUILLMERE_WINE_PREFIX}/.quillmere-ready
    COMMAND ${CMAKE_CROSSCOMPILING_EMULATOR}
    COMMENT "Making the Wine prefix for the tests"
    VERBATIM)
  add_custom_target(quillmere_wine_prefix ALL DEPENDS ${QUILLMERE_WINE_PREFIX}/.quillmere-ready)
endif()

# Tools that run while building run on the build machine: they are built there with the host's
# compiler, as a project of their own (cmake/host-tools), before anything that needs them.
include(ExternalProject)
set(QUILLMERE_HOST_TOOLS_DIR ${CMAKE_BINARY_DIR}/host-tools)
set(QUILLMERE_HOST_CXX "" CACHE FILEPATH "The build machine's C++ compiler for the build's own tools (empty: the default)")
set(host_args -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUILLMERE_SOURCE_DIR=${PROJECT_SOURCE_DIR})
if(QUILLMERE_HOST_CXX)
  list(APPEND host_args -DCMAKE_CXX_COMPILER=${QUILLMERE_HOST_CXX})
endif()
ExternalProject_Add(quillmere_host_tools
  SOURCE_DIR ${PROJECT_SOURCE_DIR}/cmake/host-tools
  BINARY_DIR ${QUILLMERE_HOST_TOOLS_DIR}
  CMAKE_ARGS ${host_args}
  INSTALL_COMMAND ""
  # Its own build decides what is out of date.
  BUILD_ALWAYS ON
  BUILD_BYPRODUCTS ${QUILLMERE_HOST_TOOLS_DIR}/quillmere_embed_texts ${QUILLMERE_HOST_TOOLS_DIR}/quillmere-same-readings)
set(QUILLMERE_HOST_EMBED_TEXTS ${QUILLMERE_HOST_TOOLS_DIR}/quillmere_embed_texts)

# CLI11, which reads the companion's options, is headers only: Debian's (libcli11-dev), through a folder
# of the build that holds them alone, since the host's /usr/include must not come before MinGW's own
# headers.
set(QUILLMERE_CLI11_HEADERS /usr/include/CLI CACHE PATH "CLI11's headers (the folder of CLI.hpp), for the cross build")
if(NOT EXISTS ${QUILLMERE_CLI11_HEADERS}/CLI.hpp)
  message(FATAL_ERROR "CLI11's headers are not in ${QUILLMERE_CLI11_HEADERS}: install the Debian package "
    "libcli11-dev (scripts/install-deps.sh does), or set QUILLMERE_CLI11_HEADERS")
endif()
quillmere_include_link(${CMAKE_BINARY_DIR}/cli11/CLI ${QUILLMERE_CLI11_HEADERS})
add_library(CLI11::CLI11 INTERFACE IMPORTED)
set_target_properties(CLI11::CLI11 PROPERTIES INTERFACE_INCLUDE_DIRECTORIES ${CMAKE_BINARY_DIR}/cli11)

# GoogleTest from the sources Debian ships (the package googletest), built with the cross compiler and
# without the project's warnings, which are not its own.
if(QUILLMERE_BUILD_TESTS)
  set(QUILLMERE_GOOGLETEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest's sources, for the cross build")
  if(NOT EXISTS ${QUILLMERE_GOOGLETEST_SOURCE}/CMakeLists.txt)
    message(FATAL_ERROR "GoogleTest's sources are not in ${QUILLMERE_GOOGLETEST_SOURCE}: install the Debian "
      "package googletest (scripts/install-deps.sh does), or set QUILLMERE_GOOGLETEST_SOURCE")
  endif()
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
  add_subdirectory(${QUILLMERE_GOOGLETEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  # Its own CMakeLists.txt names them GTest::gtest and GTest::gtest_main, as the installed package does.
  set_target_properties(gtest gtest_main PROPERTIES COMPILE_OPTIONS "-w")
endif()
