# Installs BUILD into a fresh PREFIX and compares the files that land there
# with EXPECTED (a list, relative to the prefix). Desktop entries must pass
# desktop-file-validate and name an icon installed in the hicolor theme, and
# every desktop entry and D-Bus service file must start the program
# installed under PREFIX.
file(REMOVE_RECURSE "${PREFIX}")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD}" --prefix "${PREFIX}"
                RESULT_VARIABLE status OUTPUT_QUIET)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${status}")
endif()
file(GLOB_RECURSE installed RELATIVE "${PREFIX}" "${PREFIX}/*")
list(SORT installed)
set(expected ${EXPECTED})
list(SORT expected)
if(NOT installed STREQUAL expected)
  message(FATAL_ERROR "installed: ${installed}\nexpected: ${expected}")
endif()
execute_process(COMMAND test -x "${PREFIX}/bin/tavlin" RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${PREFIX}/bin/tavlin is not executable")
endif()

find_program(DESKTOP_FILE_VALIDATE desktop-file-validate)
foreach(file IN LISTS installed)
  if(NOT file MATCHES "\\.(desktop|service)$")
    continue()
  endif()
  # The first Exec is the entry's own; a desktop action has its own command.
  file(STRINGS "${PREFIX}/${file}" exec REGEX "^Exec=" LIMIT_COUNT 1)
  if(NOT exec STREQUAL "Exec=${PREFIX}/bin/tavlin")
    message(FATAL_ERROR "${file} starts ${exec}, not ${PREFIX}/bin/tavlin")
  endif()
  if(file MATCHES "\\.desktop$")
    if(NOT DESKTOP_FILE_VALIDATE)
      message(FATAL_ERROR "desktop-file-validate is missing: scripts/install-deps installs desktop-file-utils")
    endif()
    # The icon it names is installed where desktops look for it.
    file(STRINGS "${PREFIX}/${file}" icon REGEX "^Icon=" LIMIT_COUNT 1)
    string(REGEX REPLACE "^Icon=" "" icon "${icon}")
    file(GLOB icons "${PREFIX}/share/icons/hicolor/*/apps/${icon}.svg" "${PREFIX}/share/icons/hicolor/*/apps/${icon}.png")
    if(icon STREQUAL "" OR NOT icons)
      message(FATAL_ERROR "${file} names the icon \"${icon}\", which is not installed in the hicolor theme")
    endif()
    execute_process(COMMAND "${DESKTOP_FILE_VALIDATE}" "${PREFIX}/${file}" RESULT_VARIABLE status
                    OUTPUT_VARIABLE said ERROR_VARIABLE said)
    if(NOT status EQUAL 0 OR NOT said STREQUAL "")
      message(FATAL_ERROR "desktop-file-validate ${file}:\n${said}")
    endif()
  endif()
endforeach()
