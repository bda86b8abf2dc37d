# SPDX-License-Identifier: AGPL-3.0-or-later
# Cross build for 64-bit Windows with MinGW-w64 on a Linux machine (Debian's g++-mingw-w64-x86-64 and
# mingw-w64):
#
#   cmake --preset windows-cross        (or: cmake -S . -B build-windows --toolchain cmake/MinGW-w64.cmake)
#
# The build's own settings for such a build (the layers without Qt, the tests under Wine, the host's
# copy of the texts tool) are in cmake/CrossBuild.cmake, which the top CMakeLists.txt includes.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(QUILLMERE_MINGW_TRIPLET x86_64-w64-mingw32)

# The posix thread model gives std::thread and std::mutex, which GCC 12's win32 model lacks.
find_program(CMAKE_CXX_COMPILER NAMES ${QUILLMERE_MINGW_TRIPLET}-g++-posix ${QUILLMERE_MINGW_TRIPLET}-g++ REQUIRED)
find_program(CMAKE_C_COMPILER NAMES ${QUILLMERE_MINGW_TRIPLET}-gcc-posix ${QUILLMERE_MINGW_TRIPLET}-gcc REQUIRED)
find_program(CMAKE_RC_COMPILER NAMES ${QUILLMERE_MINGW_TRIPLET}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${QUILLMERE_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Executables that carry the C++ runtime, the GCC support library and winpthreads themselves, so a
# program runs without MinGW's DLLs beside it.
set(CMAKE_EXE_LINKER_FLAGS_INIT -static)
