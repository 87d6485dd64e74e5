# Raster layer: erase-and-draw of a long one-pixel trace, ours against Qt's QPainter.
find_package(Qt6 COMPONENTS Gui)
if(Qt6Gui_FOUND)
  zelk_bench(gdi_polyline_bench SOURCES gdi_polyline_bench.cpp LIBS zelk_gdi Qt6::Gui)
endif()
