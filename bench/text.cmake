# Text output and measuring of the raster layer.
zelk_bench(bench_text SOURCES ${CMAKE_CURRENT_LIST_DIR}/text.cpp LIBS zelk_gdi_text)
