# SPDX-License-Identifier: AGPL-3.0-or-later
# The program is built in layers, each a folder with a target of its own. A layer may use only the
# layers below it, and the build holds every layer to that in two ways:
#
#   - each layer exposes only its own folder: its include directory is a folder of the build tree
#     holding one link, named after the layer, to the layer's sources; a header of a layer that is not
#     linked is "file not found";
#   - at configure time every include "folder/..." of a layer's sources is checked against the layers
#     it may use, so an upward include stops the configure step naming the file and the header; every
#     source a target compiles outside the tests is so checked;
#   - a layer links PUBLIC exactly the layers its headers include and every other PRIVATE, so a layer's
#     users see the folders its headers need and no further.
#
# Layers without Qt may not include a Qt header either; they do not link Qt, so their tests, the
# companion and the benchmark run without a display.

# Bottom up; QUILLMERE_USES_<layer> lists the layers <layer> may include from besides its own.
set(QUILLMERE_USES_records)
# The precise engine (built only with QUILLMERE_PRECISE) sits beside the classic core.
set(QUILLMERE_USES_precise records)
set(QUILLMERE_USES_astro records)
set(QUILLMERE_USES_atlas records astro)
set(QUILLMERE_USES_reading records astro)
set(QUILLMERE_USES_pipeline records precise astro reading)
set(QUILLMERE_USES_formats records precise astro reading pipeline)
set(QUILLMERE_USES_tools records precise astro atlas reading pipeline formats)
set(QUILLMERE_USES_platform)
set(QUILLMERE_USES_output records precise astro atlas reading pipeline formats platform)
set(QUILLMERE_USES_forms records precise astro atlas reading pipeline formats platform output)
set(QUILLMERE_USES_app forms)
set(QUILLMERE_USES_bmp2jpeg formats)
# Not layers of the program, but held to the same rule: the benchmark and the fuzzers reach only
# what builds without Qt.
set(QUILLMERE_USES_bench records precise astro atlas reading pipeline formats)
set(QUILLMERE_USES_fuzz records precise astro atlas reading pipeline formats tools)

set(QUILLMERE_LAYERS records precise astro atlas reading pipeline formats tools platform output forms app bmp2jpeg)
set(QUILLMERE_LAYERS_WITHOUT_QT records precise astro atlas reading pipeline formats tools bmp2jpeg bench fuzz)
# Folders an include can name; any of them that a layer may not use is refused. "support" is the
# tests' own support library.
set(QUILLMERE_INCLUDE_FOLDERS ${QUILLMERE_LAYERS} support tests bench fuzz)

set(QUILLMERE_LAYER_INCLUDE_ROOT ${CMAKE_BINARY_DIR}/include)

# Checks the includes of files (absolute paths) against what layer may use.
function(quillmere_check_layer_includes layer)
  set(allowed ${layer} ${QUILLMERE_USES_${layer}})
  list(FIND QUILLMERE_LAYERS_WITHOUT_QT ${layer} without_qt)
  if(QUILLMERE_USES_${layer})
    string(JOIN ", " may_use ${QUILLMERE_USES_${layer}})
    set(may_use "may use only: ${may_use}")
  else()
    set(may_use "may use no other layer")
  endif()
  set_property(GLOBAL APPEND PROPERTY QUILLMERE_LAYER_CHECKED_FILES ${ARGN})
  foreach(file IN LISTS ARGN)
    file(STRINGS ${file} includes REGEX "^[ \t]*#[ \t]*include[ \t]*[\"<]")
    file(RELATIVE_PATH shown ${PROJECT_SOURCE_DIR} ${file})
    foreach(line IN LISTS includes)
      if(line MATCHES "#[ \t]*include[ \t]*\"(\\.\\./[^\"]*)\"")
        message(FATAL_ERROR "Layer rule broken: ${shown} includes \"${CMAKE_MATCH_1}\" by a relative path; "
          "write it as \"folder/Header.h\" so that the layer rules see it.")
      elseif(line MATCHES "#[ \t]*include[ \t]*\"(([^/\"]+)/[^\"]*)\"")
        set(header ${CMAKE_MATCH_1})
        set(folder ${CMAKE_MATCH_2})
        if(folder IN_LIST QUILLMERE_INCLUDE_FOLDERS AND NOT folder IN_LIST allowed)
          message(FATAL_ERROR "Layer rule broken: ${shown} includes \"${header}\", but the ${layer} layer "
            "${may_use}.\nMove the code to the layer it belongs to instead.")
        endif()
      elseif(without_qt GREATER -1 AND line MATCHES "#[ \t]*include[ \t]*<(Q[A-Za-z]*|Qt[A-Za-z]*/[^>]*)>")
        message(FATAL_ERROR "Layer rule broken: ${shown} includes the Qt header <${CMAKE_MATCH_1}>, but the "
          "${layer} layer builds without Qt.")
      endif()
    endforeach()
  endforeach()
endfunction()

# Makes link a symbolic link to the folder source_dir (a copy where links cannot be made), replacing a
# link that leads elsewhere, such as one left by a source tree that has moved.
function(quillmere_include_link link source_dir)
  if(IS_SYMLINK ${link})
    file(READ_SYMLINK ${link} points_to)
    if(NOT points_to STREQUAL source_dir)
      file(REMOVE ${link})
    endif()
  endif()
  if(NOT EXISTS ${link})
    get_filename_component(parent ${link} DIRECTORY)
    file(MAKE_DIRECTORY ${parent})
    file(CREATE_LINK ${source_dir} ${link} SYMBOLIC COPY_ON_ERROR)
  endif()
endfunction()

# Makes target a part of the layer of the current folder: gives it the layer's include directory
# (PUBLIC for libraries, so that users of the layer see its folder and nothing else) and checks the
# includes of its sources in that folder and of the folder's headers.
function(quillmere_layer target)
  file(RELATIVE_PATH layer ${PROJECT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR})
  if(NOT layer IN_LIST QUILLMERE_LAYERS)
    message(FATAL_ERROR "${CMAKE_CURRENT_SOURCE_DIR} is not a layer of cmake/Layers.cmake")
  endif()

  set(dir ${QUILLMERE_LAYER_INCLUDE_ROOT}/${layer})
  quillmere_include_link(${dir}/${layer} ${CMAKE_CURRENT_SOURCE_DIR})
  get_target_property(type ${target} TYPE)
  set_property(TARGET ${target} PROPERTY QUILLMERE_LAYER ${layer})
  if(NOT type STREQUAL "EXECUTABLE")
    set_property(GLOBAL APPEND PROPERTY QUILLMERE_LAYER_LIBRARIES ${target})
  endif()
  if(type STREQUAL "EXECUTABLE")
    target_include_directories(${target} PRIVATE ${dir})
  elseif(type STREQUAL "INTERFACE_LIBRARY")
    target_include_directories(${target} INTERFACE ${dir})
  else()
    target_include_directories(${target} PUBLIC ${dir})
  endif()

  get_target_property(sources ${target} SOURCES)
  if(NOT sources)
    set(sources)
  endif()
  set(files)
  foreach(source IN LISTS sources)
    get_filename_component(source ${source} ABSOLUTE BASE_DIR ${CMAKE_CURRENT_SOURCE_DIR})
    get_filename_component(source_dir ${source} DIRECTORY)
    if(source_dir STREQUAL CMAKE_CURRENT_SOURCE_DIR)
      list(APPEND files ${source})
    endif()
  endforeach()
  file(GLOB headers ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  list(APPEND files ${headers})
  list(REMOVE_DUPLICATES files)
  quillmere_check_layer_includes(${layer} ${files})
endfunction()

# Holds target, whose sources lie outside the folder of layer, to that layer's rules, as if they lay in it.
function(quillmere_layer_sources target layer)
  get_target_property(sources ${target} SOURCES)
  get_target_property(source_dir ${target} SOURCE_DIR)
  set(files)
  foreach(source IN LISTS sources)
    get_filename_component(source ${source} ABSOLUTE BASE_DIR ${source_dir})
    list(APPEND files ${source})
  endforeach()
  quillmere_check_layer_includes(${layer} ${files})
endfunction()

# A layer's headers are what its users compile against: the layer links PUBLIC exactly the layers its
# headers include (ARGN: the headers), and every other layer PRIVATE, so that no layer's folder reaches
# further up than the headers carry it. public_layers: the layers it links PUBLIC.
function(quillmere_check_layer_links layer public_layers)
  set(included)
  foreach(file IN LISTS ARGN)
    file(STRINGS ${file} includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"[^/\"]+/")
    foreach(line IN LISTS includes)
      string(REGEX MATCH "\"([^/\"]+)/" folder "${line}")
      set(folder ${CMAKE_MATCH_1})
      if(folder IN_LIST QUILLMERE_LAYERS AND NOT folder STREQUAL layer AND NOT folder IN_LIST included)
        list(APPEND included ${folder})
        if(NOT folder IN_LIST public_layers)
          file(RELATIVE_PATH shown ${PROJECT_SOURCE_DIR} ${file})
          message(FATAL_ERROR "Layer link missing: ${shown} includes \"${folder}/...\", so the ${layer} layer "
            "must link the ${folder} layer PUBLIC for its users to compile it.")
        endif()
      endif()
    endforeach()
  endforeach()
  foreach(used IN LISTS public_layers)
    if(NOT used IN_LIST included)
      message(FATAL_ERROR "Layer link leaks: the ${layer} layer links the ${used} layer PUBLIC, but none of "
        "its headers includes it; link it PRIVATE.")
    endif()
  endforeach()
endfunction()

# Run once every layer is configured: the PUBLIC links of each layer's library against its headers.
function(quillmere_check_all_layer_links)
  get_property(libraries GLOBAL PROPERTY QUILLMERE_LAYER_LIBRARIES)
  foreach(target IN LISTS libraries)
    get_target_property(layer ${target} QUILLMERE_LAYER)
    get_target_property(links ${target} INTERFACE_LINK_LIBRARIES)
    set(public_layers)
    foreach(link IN LISTS links)
      # A PRIVATE link of a static library shows here as $<LINK_ONLY:target>.
      if(TARGET "${link}")
        get_target_property(used ${link} QUILLMERE_LAYER)
        if(used)
          list(APPEND public_layers ${used})
        endif()
      endif()
    endforeach()
    file(GLOB headers ${PROJECT_SOURCE_DIR}/${layer}/*.h)
    quillmere_check_layer_links(${layer} "${public_layers}" ${headers})
  endforeach()
endfunction()

# Every source of the program, the companion, the tools, the benchmark and the fuzzers that some target
# compiles is held to the layer rules; only the tests and what the build generates are not.
function(quillmere_check_sources_checked)
  get_property(checked GLOBAL PROPERTY QUILLMERE_LAYER_CHECKED_FILES)
  set(directories ${PROJECT_SOURCE_DIR})
  while(directories)
    list(POP_FRONT directories directory)
    get_property(subdirectories DIRECTORY ${directory} PROPERTY SUBDIRECTORIES)
    list(APPEND directories ${subdirectories})
    get_property(targets DIRECTORY ${directory} PROPERTY BUILDSYSTEM_TARGETS)
    foreach(target IN LISTS targets)
      get_target_property(sources ${target} SOURCES)
      if(NOT sources)
        continue()
      endif()
      foreach(source IN LISTS sources)
        if(source MATCHES "^\\$<")
          continue()
        endif()
        get_filename_component(source ${source} ABSOLUTE BASE_DIR ${directory})
        file(RELATIVE_PATH shown ${PROJECT_SOURCE_DIR} ${source})
        string(REGEX MATCH "^[^/]+" folder "${shown}")
        if(folder IN_LIST QUILLMERE_INCLUDE_FOLDERS AND NOT folder MATCHES "^(tests|support)$"
           AND NOT source IN_LIST checked)
          message(FATAL_ERROR "Layer rule not applied: ${shown}, a source of ${target}, is not checked against "
            "the layers it may use; give it to quillmere_layer(), quillmere_layer_sources() or "
            "quillmere_check_layer_includes().")
        endif()
      endforeach()
    endforeach()
  endwhile()
endfunction()

# The include directory of a layer, for a target that compiles one of the layer's sources itself.
function(quillmere_layer_include_dir layer out)
  set(${out} ${QUILLMERE_LAYER_INCLUDE_ROOT}/${layer} PARENT_SCOPE)
endfunction()
