# SPDX-License-Identifier: AGPL-3.0-or-later
# Regenerates the station tables into a scratch folder and requires them to equal the committed
# file byte for byte, so the tables in the program can always be traced to the ephemeris.
# Arguments: GENERATOR, EPHE_DIR, COMMITTED, WORK_DIR.
include("${CMAKE_CURRENT_LIST_DIR}/StationInputs.cmake")
station_input_args("${EPHE_DIR}" inputs)
file(REMOVE_RECURSE "${WORK_DIR}")
file(MAKE_DIRECTORY "${WORK_DIR}")
set(fresh "${WORK_DIR}/StationTables.inc")

execute_process(COMMAND "${GENERATOR}" --output "${fresh}" --ephe "${EPHE_DIR}" ${inputs}
  RESULT_VARIABLE status OUTPUT_VARIABLE report ERROR_VARIABLE errors)
message("${report}")
if(NOT status EQUAL 0)
  message(FATAL_ERROR "the generator failed (${status}): ${errors}")
endif()

execute_process(COMMAND "${CMAKE_COMMAND}" -E compare_files "${fresh}" "${COMMITTED}" RESULT_VARIABLE differ)
if(NOT differ EQUAL 0)
  message(FATAL_ERROR "regenerated tables ${fresh} differ from the committed ${COMMITTED}; "
    "run the station-tables target if the change is intended")
endif()
file(REMOVE_RECURSE "${WORK_DIR}")
