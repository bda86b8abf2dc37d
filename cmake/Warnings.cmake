# SPDX-License-Identifier: AGPL-3.0-or-later
# Warnings. Every target builds with -Wall -Wextra and, where the compiler knows them, -Wshadow,
# -Wold-style-cast and -Wpedantic. QUILLMERE_WERROR (./test turns it on) makes every warning an error,
# so none can creep in; ./run leaves it off, so a newer compiler's new warning does not stop a build.

option(QUILLMERE_WERROR "Treat compiler warnings as errors" OFF)

add_compile_options(-Wall -Wextra)
include(CheckCXXCompilerFlag)
foreach(flag -Wshadow -Wold-style-cast -Wpedantic)
  string(MAKE_C_IDENTIFIER "QUILLMERE_HAS${flag}" known)
  check_cxx_compiler_flag(${flag} ${known})
  if(${known})
    add_compile_options(${flag})
  endif()
endforeach()

if(QUILLMERE_WERROR)
  add_compile_options(-Werror)
endif()
