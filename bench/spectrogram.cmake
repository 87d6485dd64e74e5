# The spectrogram's column: window, transform, magnitudes, amplitude mapping, palette, the column
# written into the display.
if(TARGET zelk_xvtools)
  zelk_bench(bench_spectrogram_column SOURCES spectrogram_column_bench.cpp LIBS zelk_xvtools)
endif()
