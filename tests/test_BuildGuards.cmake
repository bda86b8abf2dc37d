# SPDX-License-Identifier: AGPL-3.0-or-later
# The build's guards, each shown to refuse what it is there to refuse (and to let the rest through).
#   cmake -DCHECK=<layers|fast-math-flags|fast-math-header|precise-missing|timeouts> -DSOURCE_DIR=...
#         -DWORK_DIR=...
#         [-DCXX=... -DINCLUDE_ROOT=... -DBUILD_DIR=...]
#     -P test_BuildGuards.cmake
# A single layer case runs as its own script (-DCASE=...), since a refusal ends the script.
cmake_minimum_required(VERSION 3.21)

function(expect_outcome what status output expected)
  if(expected STREQUAL "accepted")
    if(NOT status EQUAL 0)
      message(FATAL_ERROR "${what}: refused, but should pass:\n${output}")
    endif()
  elseif(status EQUAL 0)
    message(FATAL_ERROR "${what}: passed, but should be refused with \"${expected}\"")
  elseif(NOT output MATCHES "${expected}")
    message(FATAL_ERROR "${what}: refused without \"${expected}\":\n${output}")
  endif()
endfunction()

if(DEFINED CASE)
  set(PROJECT_SOURCE_DIR ${WORK_DIR})
  set(CMAKE_BINARY_DIR ${WORK_DIR}/build)
  include(${SOURCE_DIR}/cmake/Layers.cmake)
  if(CASE STREQUAL "links")
    # One header of layer LAYER holding the line LINE, the layer linking PUBLIC the layers PUBLIC
    # (comma-separated).
    string(REPLACE "," ";" public "${PUBLIC}")
    file(WRITE ${WORK_DIR}/${LAYER}/Probe.h "// probe\n${LINE}\n")
    quillmere_check_layer_links(${LAYER} "${public}" ${WORK_DIR}/${LAYER}/Probe.h)
  else()
    # One file of layer LAYER holding the line LINE, checked as the configure step checks it.
    file(WRITE ${WORK_DIR}/${LAYER}/Probe.cpp "// probe\n${LINE}\n")
    quillmere_check_layer_includes(${LAYER} ${WORK_DIR}/${LAYER}/Probe.cpp)
  endif()
  return()
endif()

file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR})

if(CHECK STREQUAL "layers")
  # layer | the include line | accepted, or what the refusal must say
  set(cases
    "astro|#include \"records/Reading.h\"|accepted"
    "astro|#include \"astro/AstroConstants.h\"|accepted"
    "forms|#include \"output/ReadingFiles.h\"|accepted"
    "forms|#include <QWidget>|accepted"
    "astro|  #  include \"forms/EntryWindow.h\"|astro/Probe.cpp includes \"forms/EntryWindow.h\", but the astro layer may use only: records"
    "records|#include \"astro/Retrogrades.h\"|records layer may use no other layer"
    "formats|#include \"output/ReadingFiles.h\"|formats layer may use only"
    "tools|#include \"platform/Platform.h\"|tools layer may use only"
    "platform|#include \"records/Reading.h\"|platform layer may use no other layer"
    "output|#include \"forms/ReadingWindow.h\"|output layer may use only"
    "output|#include \"tools/ChartCommand.h\"|output layer may use only"
    "forms|#include \"support/FakePlatform.h\"|forms layer may use only"
    "reading|#include \"../forms/EntryWindow.h\"|by a relative path"
    "formats|#include <QString>|the Qt header <QString>, but the formats layer builds without Qt"
    "pipeline|#include <QtCore/QString>|builds without Qt"
    "pipeline|#include \"precise/PreciseEngine.h\"|accepted"
    "precise|#include \"astro/Moon.h\"|precise layer may use only: records"
    "astro|#include \"precise/PreciseEngine.h\"|astro layer may use only: records"
    "precise|#include <QString>|the precise layer builds without Qt"
  )
  foreach(case IN LISTS cases)
    string(REPLACE "|" ";" fields "${case}")
    list(GET fields 0 layer)
    list(GET fields 1 line)
    list(GET fields 2 expected)
    execute_process(COMMAND ${CMAKE_COMMAND} -DCASE=1 -DLAYER=${layer} "-DLINE=${line}"
        -DSOURCE_DIR=${SOURCE_DIR} -DWORK_DIR=${WORK_DIR}/case -P ${CMAKE_CURRENT_LIST_FILE}
      RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
    string(REGEX REPLACE "[ \n]+" " " output "${out}${err}")
    expect_outcome("${layer}: ${line}" "${status}" "${output}" "${expected}")
  endforeach()

  # A layer's PUBLIC links against what its headers include.
  # layer | the layers it links PUBLIC | a header's line | accepted, or what the refusal must say
  set(cases
    "forms|records,output|#include \"records/Reading.h\"\n#include \"output/ChartDrawing.h\"|accepted"
    "forms||#include \"forms/Icons.h\"\n#include <QWidget>\n#include \"support/Fake.h\"|accepted"
    "output||#include \"records/Reading.h\"|output/Probe.h includes \"records/...\", so the output layer must link the records layer PUBLIC"
    "astro||  #  include \"records/Birth.h\"|astro layer must link the records layer PUBLIC"
    "forms|records,pipeline|#include \"records/Reading.h\"|forms layer links the pipeline layer PUBLIC, but none of its headers includes it"
    "atlas|records|#include <string>|atlas layer links the records layer PUBLIC"
  )
  foreach(case IN LISTS cases)
    string(REPLACE "|" ";" fields "${case}")
    list(GET fields 0 layer)
    list(GET fields 1 public)
    list(GET fields 2 line)
    list(GET fields 3 expected)
    execute_process(COMMAND ${CMAKE_COMMAND} -DCASE=links -DLAYER=${layer} "-DPUBLIC=${public}" "-DLINE=${line}"
        -DSOURCE_DIR=${SOURCE_DIR} -DWORK_DIR=${WORK_DIR}/case -P ${CMAKE_CURRENT_LIST_FILE}
      RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
    string(REGEX REPLACE "[ \n]+" " " output "${out}${err}")
    expect_outcome("${layer} linking PUBLIC [${public}]: ${line}" "${status}" "${output}" "${expected}")
    file(REMOVE_RECURSE ${WORK_DIR}/case)
  endforeach()

elseif(CHECK STREQUAL "fast-math-flags")
  # The configure step stops before it looks for anything, so each case takes a moment.
  # variable | its value | the flag named in the refusal
  set(cases
    "CMAKE_CXX_FLAGS|-O2 -ffast-math|-ffast-math"
    "CMAKE_CXX_FLAGS_RELWITHDEBINFO|-Ofast -g|-Ofast"
    "CMAKE_CXX_FLAGS|-ffp-contract=fast|-ffp-contract=fast"
  )
  foreach(case IN LISTS cases)
    string(REPLACE "|" ";" fields "${case}")
    list(GET fields 0 var)
    list(GET fields 1 flags)
    list(GET fields 2 bad)
    execute_process(COMMAND ${CMAKE_COMMAND} -S ${SOURCE_DIR} -B ${WORK_DIR}/build -G Ninja
        -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=${CXX} "-D${var}=${flags}"
      RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
    string(REGEX REPLACE "[ \n]+" " " output "${out}${err}")
    expect_outcome("${var}=${flags}" "${status}" "${output}" "${var} holds ${bad}: the chart arithmetic")
    file(REMOVE_RECURSE ${WORK_DIR}/build)
  endforeach()

elseif(CHECK STREQUAL "precise-missing")
  # With the Swiss Ephemeris out of sight, the precise engine stops the configure step and names the way
  # out; with -DQUILLMERE_PRECISE=OFF the configure step gets past that point (and fails later only
  # because every other package is out of sight too).
  file(GLOB multiarch /usr/lib/*-linux-gnu /lib/*-linux-gnu)
  string(JOIN ";" hidden /usr/include /usr/local/include /usr/lib /usr/local/lib /lib ${multiarch})
  foreach(setting "ON|Install libswe-dev.*-DQUILLMERE_PRECISE=OFF" "OFF|")
    string(REPLACE "|" ";" fields "${setting}")
    list(GET fields 0 precise)
    list(GET fields 1 expected)
    execute_process(COMMAND ${CMAKE_COMMAND} -S ${SOURCE_DIR} -B ${WORK_DIR}/build -G Ninja
        -DCMAKE_CXX_COMPILER=${CXX} -DQUILLMERE_PRECISE=${precise} "-DCMAKE_IGNORE_PATH=${hidden}"
      RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
    string(REGEX REPLACE "[ \n]+" " " output "${out}${err}")
    if(expected)
      expect_outcome("QUILLMERE_PRECISE=ON" "${status}" "${output}" "${expected}")
    elseif(output MATCHES "Swiss Ephemeris library")
      message(FATAL_ERROR "QUILLMERE_PRECISE=OFF still looks for the Swiss Ephemeris:\n${output}")
    endif()
    file(REMOVE_RECURSE ${WORK_DIR}/build)
  endforeach()

elseif(CHECK STREQUAL "fast-math-header")
  # A core header compiled with and without -ffast-math coming after the build's own flags.
  file(WRITE ${WORK_DIR}/probe.cpp "#include \"astro/Moon.h\"\nint main() { return 0; }\n")
  foreach(flags "-fno-fast-math|accepted" "-ffast-math|must not be built with -ffast-math")
    string(REPLACE "|" ";" fields "${flags}")
    list(GET fields 0 flag)
    list(GET fields 1 expected)
    execute_process(COMMAND ${CXX} -std=c++20 -fsyntax-only -I${INCLUDE_ROOT}/astro -I${INCLUDE_ROOT}/records
        -ffp-contract=off -fno-fast-math ${flag} ${WORK_DIR}/probe.cpp
      RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
    expect_outcome("${flag}" "${status}" "${out}${err}" "${expected}")
  endforeach()

elseif(CHECK STREQUAL "timeouts")
  # Every test of the build in BUILD_DIR has a time limit, so a hanging test fails instead of stopping
  # the suite.
  execute_process(COMMAND ${CMAKE_CTEST_COMMAND} --test-dir ${BUILD_DIR} --show-only=json-v1
    RESULT_VARIABLE status OUTPUT_VARIABLE json ERROR_VARIABLE err)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "ctest could not list the tests: ${err}")
  endif()
  string(JSON count LENGTH "${json}" tests)
  if(count LESS 2)
    message(FATAL_ERROR "ctest listed ${count} tests")
  endif()
  math(EXPR last "${count} - 1")
  set(without)
  foreach(i RANGE ${last})
    string(JSON test GET "${json}" tests ${i})
    string(JSON name GET "${test}" name)
    string(JSON properties ERROR_VARIABLE none GET "${test}" properties)
    if(NOT properties MATCHES "\"name\" *: *\"TIMEOUT\"")
      list(APPEND without ${name})
    endif()
  endforeach()
  if(without)
    message(FATAL_ERROR "tests without a time limit (TIMEOUT): ${without}")
  endif()

else()
  message(FATAL_ERROR "unknown CHECK \"${CHECK}\"")
endif()
file(REMOVE_RECURSE ${WORK_DIR})
