# The chart control's property interface under arbitrary sequences of calls.
zelk_fuzzer(fuzz_chart_properties SOURCES fuzz_chart_properties.cpp
            LIBS kvplotax_model zelk_gdi zelk_gdi_text_leak_suppression)
