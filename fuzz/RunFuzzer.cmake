# SPDX-License-Identifier: AGPL-3.0-or-later
# Runs a libFuzzer target for ctest.
#   MODE=run     fuzzes from the seeds in SEEDS with FLAGS (which bound the run); what it learns goes
#                to a fresh WORK_DIR/corpus, so the source tree is never written and every run
#                starts alike
#   MODE=replay  runs every file in SEEDS once
# A crash, leak, timeout or sanitizer report fails the test; a fuzzing run leaves the input that
# failed in WORK_DIR.

file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR}/corpus)

if(MODE STREQUAL "run")
  set(inputs ${WORK_DIR}/corpus ${SEEDS})
else()
  file(GLOB inputs LIST_DIRECTORIES false ${SEEDS}/*)
  if(NOT inputs)
    message(FATAL_ERROR "no inputs kept in ${SEEDS}")
  endif()
endif()

execute_process(
  COMMAND ${FUZZER} ${FLAGS} -artifact_prefix=${WORK_DIR}/ ${inputs}
  WORKING_DIRECTORY ${WORK_DIR}
  RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  if(MODE STREQUAL "run")
    file(GLOB artifacts ${WORK_DIR}/crash-* ${WORK_DIR}/leak-* ${WORK_DIR}/timeout-* ${WORK_DIR}/oom-*)
    message(FATAL_ERROR "${FUZZER} failed (${status}); the input that failed: ${artifacts}")
  endif()
  message(FATAL_ERROR "${FUZZER} failed (${status}) on a kept input, named above")
endif()
