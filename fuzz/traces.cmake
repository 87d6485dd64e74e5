# ChartData and the channel commands through the chart control's dispatch interface.
zelk_fuzzer(fuzz_chart_data SOURCES fuzz_chart_data.cpp
            LIBS kvplotax_model zelk_gdi zelk_gdi_text_leak_suppression)
