# The Qt printing pieces against a real X server (Xvfb) and a real CUPS scheduler with a PDF
# queue. They print through the chart control's print routines, so they wait for its output layer.
function(zelk_host_qt_print_tests)
  # Starts an X server of its own (Xvfb) unless one is given in DISPLAY.
  zelk_test(host_qt_print_capture_test
    SOURCES ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/print_capture_test.cpp
    LIBS zelk_host_qt_print kvplotax_output zelk_page_raster zelk_desktop_test_services
    ENVIRONMENT "ZELK_PRINTER="
    LABEL print)
  zelk_test(host_qt_print_cups_test
    SOURCES ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/print_cups_test.cpp
    LIBS zelk_host_qt_print kvplotax_output zelk_desktop_test_services
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen"
    # The PDF backend has one configuration, spool and output folder for every scheduler.
    LOCK cups_pdf
    LABEL print)
endfunction()
cmake_language(DEFER DIRECTORY ${PROJECT_SOURCE_DIR} CALL zelk_host_qt_print_tests)
