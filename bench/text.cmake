# Text output and measuring of the raster layer.
if(TARGET zelk_gdi_text)
  zelk_bench(bench_text SOURCES ${CMAKE_CURRENT_LIST_DIR}/text.cpp LIBS zelk_gdi_text)
endif()
