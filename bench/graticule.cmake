# A full redraw of the recorder-shaped chart: bezel, background, graticule and vertical scale.
if(TARGET kvplotax_graticule AND TARGET kvplotax_bezel AND TARGET kvplotax_scale)
  zelk_bench(graticule_redraw_bench
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/graticule_redraw_bench.cpp
            ${PROJECT_SOURCE_DIR}/chartctl/render/layout/plot_layout.cpp
    LIBS kvplotax_graticule kvplotax_bezel kvplotax_scale)
endif()
