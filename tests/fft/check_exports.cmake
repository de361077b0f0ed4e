# cmake -DNM=<nm> -DLIBRARY=<lib> -DEXPECTED=<list> -DPREFIX=<qtx_fftf_|qtx_fft_> [-DLISTED=<p>]
#       -P ...
# Compares the dynamic symbols a library defines with the expected list (written with the
# prefix LISTED, by default the single-precision engine's) and fails on any missing or extra
# name.
execute_process(COMMAND ${NM} -D --defined-only ${LIBRARY}
                OUTPUT_VARIABLE listing RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${NM} failed on ${LIBRARY}")
endif()
string(REPLACE "\n" ";" lines "${listing}")
set(actual "")
foreach(line IN LISTS lines)
  # Lines are "<address> <type> <name>"; versioned names may carry @... suffixes.
  if(line MATCHES "^[0-9a-fA-F]+ [A-Za-z] ([^@ ]+)")
    list(APPEND actual ${CMAKE_MATCH_1})
  endif()
endforeach()
file(STRINGS ${EXPECTED} expected REGEX "^[A-Za-z_]")
if(NOT LISTED)
  set(LISTED qtx_fftf_)
endif()
list(TRANSFORM expected REPLACE "^${LISTED}" "${PREFIX}")
set(missing ${expected})
list(REMOVE_ITEM missing ${actual})
set(extra ${actual})
list(REMOVE_ITEM extra ${expected})
if(missing OR extra)
  message(FATAL_ERROR "export mismatch in ${LIBRARY}\n missing: ${missing}\n extra: ${extra}")
endif()
list(LENGTH actual count)
message(STATUS "${count} exported names match")
