# Text that reaches the automation layer from callers and files: class identifiers and numbers.
zelk_fuzzer(fuzz_variant SOURCES ${CMAKE_CURRENT_LIST_DIR}/fuzz_variant.cpp LIBS zelk_automation)
