# cmake -DLIBRARY=<file> -DTEXT=<text> -P check_text_in_file.cmake
# Fails unless the file contains the text as a NUL-terminated string.
file(STRINGS "${LIBRARY}" found REGEX "${TEXT}")
if(NOT found)
  message(FATAL_ERROR "\"${TEXT}\" not found in ${LIBRARY}")
endif()
