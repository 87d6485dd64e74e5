# Channel trace items fed arbitrary channel set-ups, caller arrays and channel commands.
if(TARGET kvplotax_trace)
  zelk_fuzzer(fuzz_chart_data SOURCES fuzz_chart_data.cpp LIBS kvplotax_trace)
endif()
