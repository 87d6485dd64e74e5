# The programs' layer: a user's chart style text, and the choices file the windows keep.
zelk_fuzzer(fuzz_chart_style SOURCES ${CMAKE_CURRENT_LIST_DIR}/fuzz_chart_style.cpp
            LIBS zelk_apps_common)
zelk_fuzzer(fuzz_remembered_choices SOURCES ${CMAKE_CURRENT_LIST_DIR}/fuzz_remembered_choices.cpp
            LIBS zelk_apps_common)
