# SPDX-License-Identifier: AGPL-3.0-or-later
# Sanitized builds (./test --sanitize): AddressSanitizer (with LeakSanitizer) and
# UndefinedBehaviorSanitizer on every target, stopping at the first report. With QUILLMERE_FUZZ
# (clang only) the libFuzzer targets under fuzz/ are built too, and the code they reach carries the
# coverage instrumentation that guides them.
#
#   cmake -S . -B build-sanitize -G Ninja -DCMAKE_CXX_COMPILER=clang++ \
#         -DQUILLMERE_SANITIZE=ON -DQUILLMERE_FUZZ=ON

option(QUILLMERE_SANITIZE "Build with AddressSanitizer, LeakSanitizer and UndefinedBehaviorSanitizer" OFF)
option(QUILLMERE_FUZZ "Build the libFuzzer targets (needs clang and QUILLMERE_SANITIZE)" OFF)

if(QUILLMERE_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "QUILLMERE_FUZZ needs clang (libFuzzer): configure with -DCMAKE_CXX_COMPILER=clang++")
  endif()
  if(NOT QUILLMERE_SANITIZE)
    message(FATAL_ERROR "QUILLMERE_FUZZ needs QUILLMERE_SANITIZE: a fuzzer without sanitizers misses most faults")
  endif()
endif()

if(NOT QUILLMERE_SANITIZE)
  return()
endif()

set(QUILLMERE_SANITIZER_FLAGS -fsanitize=address,undefined -fno-sanitize-recover=all)
add_compile_options(${QUILLMERE_SANITIZER_FLAGS} -fno-omit-frame-pointer -fno-optimize-sibling-calls)
add_link_options(${QUILLMERE_SANITIZER_FLAGS})
if(QUILLMERE_FUZZ)
  # Coverage counters only; the fuzz targets alone link libFuzzer's main.
  add_compile_options(-fsanitize=fuzzer-no-link)
endif()

# The sanitizers' settings and the suppressions of Qt's own leaks are compiled into every
# executable, so that the test discovery at build time, ctest and a test run by hand all behave
# alike without any environment.
set(QUILLMERE_LSAN_SUPPRESSIONS ${CMAKE_CURRENT_LIST_DIR}/lsan-qt.supp)
file(READ ${QUILLMERE_LSAN_SUPPRESSIONS} QUILLMERE_LSAN_SUPPRESSIONS_TEXT)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${QUILLMERE_LSAN_SUPPRESSIONS})
set(QUILLMERE_SANITIZER_DEFAULTS ${CMAKE_BINARY_DIR}/generated/SanitizerDefaults.cpp)
configure_file(${CMAKE_CURRENT_LIST_DIR}/SanitizerDefaults.cpp.in ${QUILLMERE_SANITIZER_DEFAULTS} @ONLY)

function(quillmere_add_sanitizer_defaults dir)
  get_property(targets DIRECTORY ${dir} PROPERTY BUILDSYSTEM_TARGETS)
  foreach(t IN LISTS targets)
    get_target_property(type ${t} TYPE)
    if(type STREQUAL "EXECUTABLE")
      target_sources(${t} PRIVATE ${QUILLMERE_SANITIZER_DEFAULTS})
    endif()
  endforeach()
  get_property(subdirs DIRECTORY ${dir} PROPERTY SUBDIRECTORIES)
  foreach(sub IN LISTS subdirs)
    quillmere_add_sanitizer_defaults(${sub})
  endforeach()
endfunction()

# Runs once the whole tree is configured, so it reaches executables defined after this file.
cmake_language(DEFER DIRECTORY ${CMAKE_SOURCE_DIR} CALL quillmere_add_sanitizer_defaults ${CMAKE_SOURCE_DIR})
