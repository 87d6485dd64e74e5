# The recorder's block handler, alone and with the chart control in a headless container.
zelk_bench(bench_recorder_block SOURCES recorder_block.cpp LIBS zelk_recorder_core)
target_include_directories(bench_recorder_block PRIVATE ${CMAKE_SOURCE_DIR}/recorder/tests)
zelk_bench(bench_recorder_headless SOURCES recorder_headless.cpp
           LIBS zelk_recorder_core zelk_host)
add_dependencies(bench_recorder_headless KVPLOTAX)

# A day plot of a whole day's log through the run zelkchart calls.
zelk_bench(bench_day_plot SOURCES day_plot_bench.cpp LIBS zelkchart_day_plot)
add_dependencies(bench_day_plot KVPLOTAX)

# What --serve costs a recording with 50 clients polling the chart: the program run as a process.
zelk_bench(bench_web_serve SOURCES web_serve_bench.cpp LIBS PkgConfig::CPP_HTTPLIB)
target_include_directories(bench_web_serve PRIVATE ${CMAKE_SOURCE_DIR}/recorder/web/tests)
target_compile_definitions(bench_web_serve PRIVATE ZELKCHART_PATH="$<TARGET_FILE:zelkchart>")
add_dependencies(bench_web_serve zelkchart KVPLOTAX)
