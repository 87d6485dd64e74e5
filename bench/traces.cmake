# Channel trace items: a recorder-shaped strip-chart block against the same erase-and-draw of a
# 16000-point polyline with Qt's QPainter.
find_package(Qt6 COMPONENTS Gui)
if(Qt6Gui_FOUND)
  zelk_bench(traces_bench SOURCES ${CMAKE_CURRENT_LIST_DIR}/traces_scroll_bench.cpp
             LIBS kvplotax_trace Qt6::Gui)
endif()
