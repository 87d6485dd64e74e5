# The chart control's output layer: a full redraw and the paint that shows it.
if(TARGET kvplotax_output)
  zelk_bench(chart_paint_bench SOURCES ${CMAKE_CURRENT_LIST_DIR}/chart_paint_bench.cpp
             LIBS kvplotax_output)
endif()
