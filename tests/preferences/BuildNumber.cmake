# Runs cmake/BuildNumber.cmake (SCRIPT) over trees made in WORK and checks
# the number each header names: a number given wins, a checkout gives its
# commit count, and a tree that is no checkout of its own (a tarball, also
# one unpacked inside another repository) gives none.
find_program(GIT git REQUIRED)
file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}/checkout/unpacked" "${WORK}/tarball")

function(run_git)
  execute_process(COMMAND "${GIT}" -C "${WORK}/checkout" ${ARGN} RESULT_VARIABLE failed OUTPUT_QUIET ERROR_QUIET)
  if(failed)
    message(FATAL_ERROR "git ${ARGN} failed")
  endif()
endfunction()
run_git(init -q)
foreach(commit 1 2 3)
  run_git(-c user.name=Test -c user.email=test@example.invalid commit -q --allow-empty -m "Commit ${commit}")
endforeach()

function(expect tree given number)
  set(header "${WORK}/BuildNumber.h")
  file(REMOVE "${header}")
  execute_process(COMMAND "${CMAKE_COMMAND}" "-DSOURCE_DIR=${tree}" "-DGIVEN=${given}" "-DOUTPUT=${header}"
                  -P "${SCRIPT}" RESULT_VARIABLE failed)
  file(STRINGS "${header}" line REGEX "^#define TAVLIN_BUILD_NUMBER ")
  if(failed OR NOT line STREQUAL "#define TAVLIN_BUILD_NUMBER \"${number}\"")
    message(FATAL_ERROR "${tree} with \"${given}\" given: ${line}, not \"${number}\"")
  endif()
endfunction()

expect("${WORK}/checkout" "" 3)
expect("${WORK}/checkout" 27 27)
expect("${WORK}/tarball" "" "")
expect("${WORK}/tarball" 27 27)
expect("${WORK}/checkout/unpacked" "" "")
