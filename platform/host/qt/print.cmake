# Printing and window capture for the Qt container: CUPS queues through Qt PrintSupport, the
# print progress dialog, the printer set-up dialog and the screen read through Qt.
find_package(Qt6 COMPONENTS Widgets PrintSupport QUIET)
if(NOT Qt6_FOUND)
  return()
endif()

set(zelk_qt_print_dir ${CMAKE_CURRENT_LIST_DIR})
add_library(zelk_host_qt_print STATIC
  ${zelk_qt_print_dir}/src/abort_dialog.cpp
  ${zelk_qt_print_dir}/src/print_services.cpp
  ${zelk_qt_print_dir}/src/print_setup.cpp
  ${zelk_qt_print_dir}/src/printer_queue.cpp)
zelk_target(zelk_host_qt_print)
target_include_directories(zelk_host_qt_print PUBLIC ${zelk_qt_print_dir}/include
                           PRIVATE ${zelk_qt_print_dir}/src)
target_link_libraries(zelk_host_qt_print PUBLIC zelk_host zelk_ocx zelk_gdi Qt6::Widgets
                                                Qt6::PrintSupport)

if(ZELK_BUILD_TESTS)
  include(${zelk_qt_print_dir}/tests/print_tests.cmake)
endif()

# The Qt container's site hands these services to its control.
if(ZELK_BUILD_GUI)
  target_sources(zelk_host_qt PRIVATE ${zelk_qt_print_dir}/src/qt_container_print.cpp)
  target_compile_definitions(zelk_host_qt PRIVATE ZELK_QT_PRINT=1)
  target_link_libraries(zelk_host_qt PUBLIC zelk_host_qt_print)
endif()
