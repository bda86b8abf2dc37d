# SPDX-License-Identifier: AGPL-3.0-or-later
# Readings must come out the same on every compiler and machine: no fused multiply-adds and no
# fast-math reassociation in the chart arithmetic. The options below come after the flags of the
# build type and of the user; a flag that would undo them is refused outright, since a contraction
# cannot be seen from the code (the core's headers refuse __FAST_MATH__ themselves).
add_compile_options(-ffp-contract=off -fno-fast-math)

set(QUILLMERE_UNSAFE_MATH_FLAGS -ffast-math -Ofast -ffp-contract=fast -ffp-contract=on
  -funsafe-math-optimizations -fassociative-math -freciprocal-math -ffp-model=fast)
foreach(config "" _DEBUG _RELEASE _RELWITHDEBINFO _MINSIZEREL)
  set(var CMAKE_CXX_FLAGS${config})
  separate_arguments(flags NATIVE_COMMAND "${${var}}")
  foreach(flag IN LISTS flags)
    if(flag IN_LIST QUILLMERE_UNSAFE_MATH_FLAGS)
      message(FATAL_ERROR "${var} holds ${flag}: the chart arithmetic must be built without fast-math "
        "and without fused multiply-adds, so that readings are the same on every compiler and machine. "
        "Remove it (and from CXXFLAGS, which sets CMAKE_CXX_FLAGS in a new build folder).")
    endif()
  endforeach()
endforeach()
