# `make install` builds only the program it installs, not every test and
# benchmark: each build step of its dry run (make -n, which runs nothing)
# names the target tavlin. SOURCE is the tree with the Makefile.
find_program(MAKE_PROGRAM make REQUIRED)
execute_process(COMMAND "${MAKE_PROGRAM}" -n -C "${SOURCE}" install BUILD_RELEASE=build/install-check
                        PREFIX=/nonexistent
                OUTPUT_VARIABLE steps ERROR_VARIABLE steps RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "make -n install failed:\n${steps}")
endif()
string(REGEX MATCHALL "cmake --build [^\n]*" builds "${steps}")
if(NOT builds)
  message(FATAL_ERROR "make install builds nothing:\n${steps}")
endif()
foreach(build IN LISTS builds)
  if(NOT build MATCHES "--target tavlin$")
    message(FATAL_ERROR "make install builds more than the program: ${build}")
  endif()
endforeach()
