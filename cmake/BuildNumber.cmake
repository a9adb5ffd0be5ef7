# cmake -DSOURCE_DIR=<tree> -DGIVEN=<number or empty> -DOUTPUT=<header> -P BuildNumber.cmake
#
# Writes the header that names the build number shown beside the version:
# the number given to CMake (TAVLIN_BUILD_NUMBER) when there is one, else
# the commit count of the checkout the tree is (`git rev-list --count
# HEAD`), else nothing (a tarball; the settings then show "?"). Run at each
# build, so that a new commit shows without configuring again; the header is
# rewritten only when the number changes, so that nothing else is rebuilt.

set(number "${GIVEN}")
if(number STREQUAL "")
  find_program(GIT_PROGRAM git)
  if(GIT_PROGRAM)
    # Only the tree's own checkout counts, not a repository it happens to lie in.
    execute_process(COMMAND "${GIT_PROGRAM}" -C "${SOURCE_DIR}" rev-parse --show-toplevel
                    OUTPUT_VARIABLE top OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET RESULT_VARIABLE failed)
    if(NOT failed)
      file(REAL_PATH "${top}" top)
      file(REAL_PATH "${SOURCE_DIR}" source)
      if(top STREQUAL source)
        execute_process(COMMAND "${GIT_PROGRAM}" -C "${SOURCE_DIR}" rev-list --count HEAD
                        OUTPUT_VARIABLE count OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET RESULT_VARIABLE failed)
        if(NOT failed AND count MATCHES "^[0-9]+$")
          set(number "${count}")
        endif()
      endif()
    endif()
  endif()
endif()

string(REPLACE "\\" "\\\\" number "${number}")
string(REPLACE "\"" "\\\"" number "${number}")
set(text "#pragma once\n\n// Written by cmake/BuildNumber.cmake at each build.\n#define TAVLIN_BUILD_NUMBER \"${number}\"\n")
if(EXISTS "${OUTPUT}")
  file(READ "${OUTPUT}" old)
endif()
if(NOT old STREQUAL text)
  file(WRITE "${OUTPUT}" "${text}")
endif()
