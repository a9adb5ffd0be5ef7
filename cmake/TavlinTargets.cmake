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

# tavlin_test(<name> SOURCES … DEPENDS … [SUPPORT <main library>]
#             [ENVIRONMENT …] [ONE_AT_A_TIME] [NOT_UNDER_SANITIZERS <filter>]):
# one GoogleTest executable,
# each of its cases a CTest entry of its own, named <name>.<Suite>.<Test>.
# SUPPORT picks the main (tavlin_gui_test_support for a QGuiApplication).
# ONE_AT_A_TIME keeps the cases from running beside each other, for tests
# that start an X server and real clients; each counts as two of CTest's
# parallel slots, as the server, its window manager and the clients do. The cases are listed when CTest
# runs, so that listing needs neither a display nor a fresh build.
# NOT_UNDER_SANITIZERS names the cases (a GoogleTest filter) that the
# sanitizer build (TAVLIN_FUZZ) leaves out; say why where it is used.
function(tavlin_test name)
  cmake_parse_arguments(ARG "ONE_AT_A_TIME" "SUPPORT;NOT_UNDER_SANITIZERS" "SOURCES;DEPENDS;ENVIRONMENT" ${ARGN})
  if(NOT ARG_SUPPORT)
    set(ARG_SUPPORT tavlin_test_support)
  endif()
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_DEPENDS} ${ARG_SUPPORT} GTest::gmock)
  tavlin_target_defaults(${name})
  set(environment QT_QPA_PLATFORM=offscreen ${TAVLIN_SANITIZER_ENVIRONMENT} ${ARG_ENVIRONMENT})
  set_target_properties(${name} PROPERTIES TAVLIN_TEST_ENVIRONMENT "${environment}")
  if(TAVLIN_FUZZ AND ARG_NOT_UNDER_SANITIZERS)
    set_target_properties(${name} PROPERTIES TAVLIN_TEST_FILTER "-${ARG_NOT_UNDER_SANITIZERS}")
  endif()
  if(ARG_ONE_AT_A_TIME)
    set_property(TARGET ${name} APPEND PROPERTY TAVLIN_TEST_LOCKS ${name})
    set_target_properties(${name} PROPERTIES TAVLIN_TEST_PROCESSORS 2)
  endif()
  # Registered once the folder's CMakeLists is read, so that locks added
  # after this call (tavlin_test_lock) apply too.
  # (A deferred call reads its arguments when it runs: the name goes in as text.)
  cmake_language(EVAL CODE "cmake_language(DEFER CALL _tavlin_discover_tests [[${name}]])")
endfunction()

# tavlin_test_lock(<test> <lock>): the test (a tavlin_test, or a plain
# add_test) never runs beside another that holds the same lock.
function(tavlin_test_lock test lock)
  if(TARGET ${test})
    set_property(TARGET ${test} APPEND PROPERTY TAVLIN_TEST_LOCKS ${lock})
  else()
    set_property(TEST ${test} APPEND PROPERTY RESOURCE_LOCK ${lock})
  endif()
endfunction()

function(_tavlin_discover_tests name)
  get_target_property(filter ${name} TAVLIN_TEST_FILTER)
  if(NOT filter)
    set(filter "")
  endif()
  gtest_discover_tests(${name} TEST_PREFIX "${name}." NO_PRETTY_VALUES TEST_FILTER "${filter}"
                       DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60)
  # The discovered cases get their properties from a script of our own, run
  # after the discovery's: gtest_discover_tests would split a value that
  # holds a list (the environment) into several.
  get_target_property(environment ${name} TAVLIN_TEST_ENVIRONMENT)
  get_target_property(locks ${name} TAVLIN_TEST_LOCKS)
  set(properties "ENVIRONMENT [==[${environment}]==]")
  if(locks)
    string(APPEND properties " RESOURCE_LOCK [==[${locks}]==]")
  endif()
  get_target_property(processors ${name} TAVLIN_TEST_PROCESSORS)
  if(processors)
    string(APPEND properties " PROCESSORS ${processors}")
  endif()
  set(script "${CMAKE_CURRENT_BINARY_DIR}/${name}_properties.cmake")
  file(CONFIGURE OUTPUT "${script}" @ONLY CONTENT
       "if(${name}_TESTS)\n  set_tests_properties(\${${name}_TESTS} PROPERTIES ${properties})\nendif()\n")
  set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES "${script}")
endfunction()

# tavlin_benchmark(<name> SOURCES … DEPENDS …): one Google Benchmark executable.
function(tavlin_benchmark name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPENDS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_DEPENDS} benchmark::benchmark_main)
  tavlin_target_defaults(${name})
  add_dependencies(benchmarks ${name})
endfunction()
