# Shared settings for every target of the project.

function(tavlin_target_defaults target)
  # Designated initializers that leave fields at their defaults are intended.
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wno-missing-field-initializers)
  if(TAVLIN_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()

# tavlin_library(<name> SOURCES … DEPENDS …): one static library per folder.
function(tavlin_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPENDS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC "${PROJECT_SOURCE_DIR}/src")
  target_link_libraries(${name} PUBLIC ${ARG_DEPENDS})
  tavlin_target_defaults(${name})
endfunction()

# tavlin_test(<name> SOURCES … DEPENDS … [SUPPORT <main library>]): one
# GoogleTest executable, one CTest entry; SUPPORT picks the main
# (tavlin_gui_test_support for a QGuiApplication, tavlin_widgets_test_support
# for a QApplication).
function(tavlin_test name)
  cmake_parse_arguments(ARG "" "SUPPORT" "SOURCES;DEPENDS;ENVIRONMENT" ${ARGN})
  if(NOT ARG_SUPPORT)
    set(ARG_SUPPORT tavlin_test_support)
  endif()
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_DEPENDS} ${ARG_SUPPORT} GTest::gmock)
  tavlin_target_defaults(${name})
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;${ARG_ENVIRONMENT}")
endfunction()

# tavlin_benchmark(<name> SOURCES … DEPENDS …): one Google Benchmark executable.
function(tavlin_benchmark name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPENDS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_DEPENDS} benchmark::benchmark_main)
  tavlin_target_defaults(${name})
  add_dependencies(benchmarks ${name})
endfunction()
