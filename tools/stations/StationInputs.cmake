# SPDX-License-Identifier: AGPL-3.0-or-later
# The ephemeris files the generator reads for 1900 to 2050 (planets, and the Moon for the Earth's
# place), each as "--input" "NAME sha256 HEX", so the generated header records what made it.
function(station_input_args ephe_dir out_var)
  set(args)
  foreach(name sepl_18.se1 semo_18.se1)
    set(path "${ephe_dir}/${name}")
    if(NOT EXISTS "${path}")
      message(FATAL_ERROR "ephemeris file ${path} is missing; install swe-basic-data")
    endif()
    file(SHA256 "${path}" sum)
    list(APPEND args --input "${name} sha256 ${sum}")
  endforeach()
  set(${out_var} ${args} PARENT_SCOPE)
endfunction()
