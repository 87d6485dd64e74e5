# The spectrogram's column: window, transform, magnitudes, amplitude mapping, palette, the column
# written into the display.
if(TARGET zelk_xvtools)
  zelk_bench(bench_spectrogram_column SOURCES spectrogram_column_bench.cpp LIBS zelk_xvtools)
endif()

# The whole-recording picture as a command, for bench/spectrogram_vs_sox.sh.
if(TARGET zelkspec_full_run)
  add_executable(bench_full_spectrogram full_spectrogram_driver.cpp)
  zelk_target(bench_full_spectrogram)
  target_link_libraries(bench_full_spectrogram PRIVATE zelkspec_full_run)
endif()
