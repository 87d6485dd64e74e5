# Text that reaches the automation layer from callers and files: class identifiers and numbers.
zelk_fuzzer(fuzz_variant SOURCES ${CMAKE_CURRENT_LIST_DIR}/fuzz_variant.cpp LIBS zelk_automation)
# The registry file and initialisation files as they may be found on disk.
zelk_fuzzer(fuzz_config_files SOURCES ${CMAKE_CURRENT_LIST_DIR}/fuzz_config_files.cpp
            LIBS zelk_automation zelk_ocx)
