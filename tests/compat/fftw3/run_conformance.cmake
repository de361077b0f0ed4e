# Runs the reference conformance program and the tested one and compares their outputs.
#   -DREFERENCE=<program> -DPROGRAM=<program> -DCOMPARE=<compare_outputs> -DTOLERANCE=<t>
#   -DOUTPUT=<file prefix> [-DEMULATOR=<command, words joined by '|'>]
#   [-DPRELOAD=<library> -DMARKER=<text>]
# With PRELOAD the tested program runs with that library preloaded; under qemu-user the
# variable is set in the guest with the emulator's -E option, not in the emulator itself.
# Neither run may write to standard error: there the loader reports, for one, a data symbol
# whose size differs from the one the program was linked against.
string(REPLACE "|" ";" EMULATOR "${EMULATOR}")
set(tested ${PROGRAM})
if(PRELOAD AND EMULATOR)
  set(tested ${EMULATOR} -E LD_PRELOAD=${PRELOAD} ${PROGRAM})
elseif(PRELOAD)
  set(tested ${CMAKE_COMMAND} -E env LD_PRELOAD=${PRELOAD} ${PROGRAM})
elseif(EMULATOR)
  set(tested ${EMULATOR} ${PROGRAM})
endif()

foreach(run expected actual)
  if(run STREQUAL expected)
    set(command ${EMULATOR} ${REFERENCE})
  else()
    set(command ${tested})
  endif()
  execute_process(COMMAND ${command} OUTPUT_FILE ${OUTPUT}.${run} ERROR_VARIABLE errors
                  RESULT_VARIABLE status)
  if(errors)
    message("${run} run, standard error:\n${errors}")
    set(complaints "${complaints}${run} run wrote to standard error\n")
  endif()
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "${command} failed: ${status}")
  endif()
endforeach()

execute_process(COMMAND ${EMULATOR} ${COMPARE} ${TOLERANCE} ${OUTPUT}.expected ${OUTPUT}.actual
                        ${MARKER} RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "the outputs differ (${OUTPUT}.expected, ${OUTPUT}.actual)")
endif()
if(complaints)
  message(FATAL_ERROR "${complaints}")
endif()
