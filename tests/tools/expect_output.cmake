# Runs PROGRAM (a command, separated by |) with ARGS (separated by |) and fails unless it exits with STATUS and its output
# matches REGEX: stdout then stderr, so ^ anchors the first line printed. Bad usage (status 2)
# must print nothing on stdout.
string(REPLACE "|" ";" program "${PROGRAM}")
string(REPLACE "|" ";" args "${ARGS}")
execute_process(COMMAND ${program} ${args} OUTPUT_VARIABLE out ERROR_VARIABLE err
                RESULT_VARIABLE status)
if(NOT status EQUAL STATUS)
  message(FATAL_ERROR "exit status ${status}, expected ${STATUS}\n${out}${err}")
endif()
if(STATUS EQUAL 2 AND NOT out STREQUAL "")
  message(FATAL_ERROR "bad usage printed on stdout:\n${out}")
endif()
if(NOT "${out}${err}" MATCHES "${REGEX}")
  message(FATAL_ERROR "output does not match ${REGEX}:\n${out}${err}")
endif()
