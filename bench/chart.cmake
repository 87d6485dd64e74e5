# The chart control's output layer: a full redraw and the paint that shows it, alone and, when
# the module and the headless container are built, through the whole control.
zelk_bench(chart_paint_bench SOURCES ${CMAKE_CURRENT_LIST_DIR}/chart_paint_bench.cpp
           LIBS kvplotax_output)
target_link_libraries(chart_paint_bench PRIVATE zelk_host zelk_automation)
target_compile_definitions(chart_paint_bench PRIVATE ZELK_BENCH_CONTROL)
add_dependencies(chart_paint_bench KVPLOTAX)
