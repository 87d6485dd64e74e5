# Packed DIBs and bitmap files handed in by callers and read from disk.
zelk_fuzzer(fuzz_packed_dib SOURCES ${CMAKE_CURRENT_LIST_DIR}/fuzz_packed_dib.cpp LIBS zelk_gdi)
