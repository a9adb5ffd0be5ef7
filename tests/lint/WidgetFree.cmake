# cmake -DFOLDER=<dir> -DEXCEPT=<subfolder name> -DWIDGETS_HEADERS=<QtWidgets include dir> -P WidgetFree.cmake
#
# Fails when a source of FOLDER outside EXCEPT includes a header of
# QtWidgets: the folder's code works without widgets, so that it can be
# tested and reused without them.
cmake_minimum_required(VERSION 3.25)
file(GLOB widget_headers RELATIVE "${WIDGETS_HEADERS}" "${WIDGETS_HEADERS}/*")
file(GLOB_RECURSE sources "${FOLDER}/*.h" "${FOLDER}/*.cpp")
set(offences "")
foreach(source IN LISTS sources)
  file(RELATIVE_PATH relative "${FOLDER}" "${source}")
  if(relative MATCHES "^${EXCEPT}/")
    continue()
  endif()
  file(STRINGS "${source}" includes REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"]")
  foreach(line IN LISTS includes)
    string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*[<\"]([^>\"]+)[>\"].*$" "\\1" header "${line}")
    string(REGEX REPLACE "^QtWidgets/" "" name "${header}")
    if(header MATCHES "^QtWidgets/" OR name IN_LIST widget_headers)
      string(APPEND offences "  ${relative}: ${line}\n")
    endif()
  endforeach()
endforeach()
if(offences)
  message(FATAL_ERROR "${FOLDER} must not use QtWidgets outside ${EXCEPT}/:\n${offences}")
endif()
