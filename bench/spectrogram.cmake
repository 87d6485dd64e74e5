# The spectrogram's column: window, transform, magnitudes, amplitude mapping, palette, the column
# written into the display.
zelk_bench(bench_spectrogram_column SOURCES spectrogram_column_bench.cpp LIBS zelk_xvtools)

# The whole-recording picture as a command, for bench/spectrogram_vs_sox.sh.
add_executable(bench_full_spectrogram full_spectrogram_driver.cpp)
zelk_target(bench_full_spectrogram)
target_link_libraries(bench_full_spectrogram PRIVATE zelkspec_full_run)

# The echo counter on the spectrogram's transforms, against the spectrogram alone.
zelk_bench(bench_echo_counting SOURCES echo_counting_bench.cpp LIBS zelk_spectrograph_core)

# Lowering a recording's rate to the spectrogram's: the filters alone, on samples in memory.
zelk_bench(bench_rate_lowering SOURCES rate_lowering_bench.cpp LIBS zelk_xvtools)
target_include_directories(bench_rate_lowering PRIVATE ${CMAKE_SOURCE_DIR}/xvtools/src)
