# A full redraw of the recorder-shaped chart: bezel, background, graticule and vertical scale.
zelk_bench(graticule_redraw_bench
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/graticule_redraw_bench.cpp
  LIBS kvplotax_graticule kvplotax_bezel kvplotax_scale)
