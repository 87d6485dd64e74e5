# The wave-buffer helpers with arbitrary header fields.
zelk_fuzzer(fuzz_wave_header SOURCES fuzz_wave_header.cpp LIBS XVAXTool)
