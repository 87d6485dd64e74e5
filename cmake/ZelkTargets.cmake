# Helpers shared by every folder's CMakeLists.txt.

set(ZELK_WARNINGS -Wall -Wextra -Werror)

if(ZELK_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=undefined
                      -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()

# The fuzz targets are led by the coverage of the code they drive, which lives in the libraries:
# every library of the fuzz build reports its edges to libFuzzer, not only the targets' own files.
if(ZELK_BUILD_FUZZ)
  add_compile_options(-fsanitize=fuzzer-no-link)
endif()

# Every test runs with a scratch home, scratch XDG folders and a scratch registry, set once for the
# whole run: whatever a test does, it never reads or writes the user's registry, VB.INI or other
# settings, nor the system-wide ones. CTest reads this file before it starts any test, so
# "ctest --preset default" and "ctest --test-dir build/default" are alike; each run starts afresh.
if(ZELK_BUILD_TESTS)
  set(ZELK_TEST_HOME ${CMAKE_BINARY_DIR}/test-home)
  file(CONFIGURE OUTPUT ${CMAKE_BINARY_DIR}/zelk_test_environment.cmake CONTENT [=[
set(scratch "@ZELK_TEST_HOME@")
file(REMOVE_RECURSE "${scratch}")
file(MAKE_DIRECTORY "${scratch}/home" "${scratch}/config" "${scratch}/data" "${scratch}/cache"
                    "${scratch}/system")
set(ENV{HOME} "${scratch}/home")
set(ENV{XDG_CONFIG_HOME} "${scratch}/config")
set(ENV{XDG_DATA_HOME} "${scratch}/data")
set(ENV{XDG_CACHE_HOME} "${scratch}/cache")
set(ENV{XDG_CONFIG_DIRS} "${scratch}/system")
set(ENV{ZELK_REGISTRY} "${scratch}/registry")
]=] @ONLY)
  set_property(DIRECTORY ${CMAKE_SOURCE_DIR} APPEND PROPERTY TEST_INCLUDE_FILES
               ${CMAKE_BINARY_DIR}/zelk_test_environment.cmake)
endif()

# zelk_target(<target>): our warning set and include conventions.
function(zelk_target target)
  target_compile_options(${target} PRIVATE ${ZELK_WARNINGS})
endfunction()

# zelk_test_code_options(<target>): position-independent code, as Qt asks of its users, and
# -pthread, as the thread library asks of its users, in every test program alike, so that all of
# them can take the precompiled test headers (tests/support). A program the headers still do not
# fit compiles them from source, with a warning rather than a failure.
# The tests' own bodies are compiled lightly: at -O1 in the release build, while the code they
# test keeps -O3, and at -O0 under the sanitizers, while the code they test keeps -O1; optimising
# test bodies harder only slows their compiling, about a quarter of the whole build. GCC 12's bounds and
# overlap warnings misread inlined std::string concatenation (its bugs 105329 and 105651) in
# test bodies that join a build path to a text, and whether they fire depends on the length of
# the path the tree was checked out at; the product's own code keeps them.
function(zelk_test_code_options target)
  target_compile_options(${target} PRIVATE -fPIC -pthread -Wno-error=invalid-pch
                                            $<$<CONFIG:Release>:-O1>
                         $<$<CXX_COMPILER_ID:GNU>:-Wno-array-bounds -Wno-stringop-overflow
                                                  -Wno-stringop-overread -Wno-restrict>)
  if(ZELK_SANITIZE)
    target_compile_options(${target} PRIVATE -O0)
  endif()
  if(NOT target STREQUAL "zelk_test_headers")
    target_precompile_headers(${target} REUSE_FROM zelk_test_headers)
  endif()
endfunction()

# zelk_test(<name> SOURCES ... LIBS ... [ENVIRONMENT VAR=value] [LOCK resource] [LABEL label]
#           [LABELLED label filter ...]): a GoogleTest program registered with CTest, one CTest entry
# per test case. Tests that take the same LOCK never run at the same time. LABEL (one of gui,
# print, browser, slow) labels every case; each LABELLED pair labels only the cases its GoogleTest
# filter names (Suite.Case, with * and :), so that a program's one slow case can be left out.
function(zelk_test name)
  if(NOT ZELK_BUILD_TESTS)
    return()
  endif()
  cmake_parse_arguments(ARG "" "ENVIRONMENT;LOCK;LABEL" "SOURCES;LIBS;LABELLED" ${ARGN})
  # Test discovery hands the properties on as one flat list, so a second variable would be read
  # as a property of its own and dropped; a case gets one label for the same reason.
  if(ARG_ENVIRONMENT MATCHES ";")
    message(FATAL_ERROR "zelk_test(${name}): one ENVIRONMENT variable at most; "
                        "set further ones in the test program")
  endif()
  add_executable(${name} ${ARG_SOURCES})
  zelk_target(${name})
  zelk_test_code_options(${name})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gmock GTest::gtest_main)
  set(properties "")
  if(ARG_ENVIRONMENT)
    list(APPEND properties ENVIRONMENT ${ARG_ENVIRONMENT})
  endif()
  if(ARG_LOCK)
    list(APPEND properties RESOURCE_LOCK ${ARG_LOCK})
  endif()
  set(rest "")
  while(ARG_LABELLED)
    list(POP_FRONT ARG_LABELLED label filter)
    gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST TEST_FILTER ${filter}
                         PROPERTIES ${properties} LABELS ${label})
    string(APPEND rest ":${filter}")
  endwhile()
  set(filter "")
  if(rest)
    string(SUBSTRING "${rest}" 1 -1 rest)
    set(filter TEST_FILTER "-${rest}")
  endif()
  if(ARG_LABEL)
    list(APPEND properties LABELS ${ARG_LABEL})
  endif()
  if(properties)
    gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST ${filter} PROPERTIES ${properties})
  else()
    gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST ${filter})
  endif()
endfunction()

# zelk_fuzzer(<name> SOURCES ... LIBS ...): a libFuzzer target, built only with ZELK_BUILD_FUZZ.
function(zelk_fuzzer name)
  if(NOT ZELK_BUILD_FUZZ)
    return()
  endif()
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  zelk_target(${name})
  target_compile_options(${name} PRIVATE -fsanitize=fuzzer)
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  target_link_libraries(${name} PRIVATE ${ARG_LIBS})
  set_property(GLOBAL APPEND PROPERTY ZELK_FUZZERS ${name})
endfunction()

# zelk_export(<target> <export-name> [HEADERS <dir>]): installs a library under Zelk::<export-name>
# with its public headers.
function(zelk_export target exportName)
  cmake_parse_arguments(ARG "" "HEADERS" "" ${ARGN})
  set_target_properties(${target} PROPERTIES EXPORT_NAME ${exportName})
  install(TARGETS ${target} EXPORT ZelkTargets
          LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
          ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
          RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR}
          INCLUDES DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
  if(ARG_HEADERS)
    install(DIRECTORY ${ARG_HEADERS}/ DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
  endif()
  set_property(GLOBAL APPEND PROPERTY ZELK_EXPORTED_TARGETS ${target})
endfunction()

# zelk_test_registry(<file> [<clsid> <progid> <module-target>]...): a registry file in the build
# tree naming modules of the tests' own, which no program would load otherwise; a test gets it as
# ENVIRONMENT ZELK_REGISTRY=<file>. Rewritten whenever the build is generated.
function(zelk_test_registry file)
  set(content "")
  set(entries ${ARGN})
  while(entries)
    list(POP_FRONT entries clsid progid target)
    string(APPEND content "${clsid} ${progid} $<TARGET_FILE:${target}>\n")
  endwhile()
  file(GENERATE OUTPUT ${file} CONTENT "${content}")
endfunction()

# zelk_gui_test(<name> SOURCES ... LIBS ... [ENVIRONMENT ...] [LABELS ...]): a GoogleTest program
# with a QApplication, registered as one CTest entry, labelled gui, that starts its own X server
# with xvfb-run.
function(zelk_gui_test name)
  if(NOT ZELK_BUILD_TESTS)
    return()
  endif()
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS;ENVIRONMENT;LABELS" ${ARGN})
  find_program(ZELK_XVFB_RUN xvfb-run REQUIRED)
  find_package(Qt6 COMPONENTS Widgets Test REQUIRED)
  add_executable(${name} ${ARG_SOURCES} ${PROJECT_SOURCE_DIR}/tests/support/gui_test_main.cpp)
  zelk_test_code_options(${name})
  zelk_target(${name})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gmock Qt6::Widgets Qt6::Test)
  add_test(NAME ${name}
           COMMAND ${ZELK_XVFB_RUN} -a -s "-screen 0 1280x1024x24 -dpi 96"
                   $<TARGET_FILE:${name}>)
  set(labels gui ${ARG_LABELS})
  set_tests_properties(${name} PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=xcb;${ARG_ENVIRONMENT}"
                                          TIMEOUT 300 LABELS "${labels}")
endfunction()

# zelk_forms(<program> <bag>...): the program's forms' designed settings, copied into forms/
# beside it in the build tree; installed (by desktop/) in ${CMAKE_INSTALL_DATADIR}/zelk/forms,
# where forms/forms_folder.h finds them relative to the installed program.
function(zelk_forms program)
  file(RELATIVE_PATH from_bin /prefix/${CMAKE_INSTALL_BINDIR}
       /prefix/${CMAKE_INSTALL_DATADIR}/zelk/forms)
  target_include_directories(${program} PRIVATE ${PROJECT_SOURCE_DIR}/forms)
  target_compile_definitions(${program} PRIVATE ZELK_FORMS_FROM_BIN="${from_bin}")
  foreach(bag IN LISTS ARGN)
    configure_file(${PROJECT_SOURCE_DIR}/forms/${bag}
                   ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/forms/${bag} COPYONLY)
  endforeach()
endfunction()
