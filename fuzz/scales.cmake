# Saved scale records.
zelk_fuzzer(fuzz_scale_info SOURCES ${CMAKE_CURRENT_LIST_DIR}/fuzz_scale_info.cpp
            LIBS kvplotax_scale)
