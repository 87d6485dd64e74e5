# The chart control's saved state: the stream form and the property-bag form.
zelk_fuzzer(fuzz_persist_stream SOURCES ${CMAKE_CURRENT_LIST_DIR}/fuzz_persist_stream.cpp
            LIBS kvplotax_model zelk_gdi zelk_gdi_text_leak_suppression)
zelk_fuzzer(fuzz_property_bag SOURCES ${CMAKE_CURRENT_LIST_DIR}/fuzz_property_bag.cpp
            LIBS kvplotax_model zelk_gdi zelk_gdi_text_leak_suppression)
