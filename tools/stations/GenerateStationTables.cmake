# SPDX-License-Identifier: AGPL-3.0-or-later
# Writes the station tables with the checksums of the ephemeris files they come from.
# Arguments: GENERATOR, EPHE_DIR, OUTPUT.
include("${CMAKE_CURRENT_LIST_DIR}/StationInputs.cmake")
station_input_args("${EPHE_DIR}" inputs)
execute_process(COMMAND "${GENERATOR}" --output "${OUTPUT}" --ephe "${EPHE_DIR}" ${inputs}
  RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "the generator failed (${status})")
endif()
