# The spectrogram's column: window, transform, magnitudes, amplitude mapping, palette, the column
# written into the display.
zelk_bench(bench_spectrogram_column SOURCES spectrogram_column_bench.cpp LIBS zelk_xvtools)
