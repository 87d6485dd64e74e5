# The chart control's sample converters over arbitrary caller arrays and channel settings.
zelk_fuzzer(fuzz_converters SOURCES fuzz_converters.cpp LIBS kvplotax_render)
