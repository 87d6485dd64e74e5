# A settings file's class looked up in the registries as they may be found on disk.
zelk_fuzzer(fuzz_class_lookup SOURCES ${CMAKE_CURRENT_LIST_DIR}/fuzz_class_lookup.cpp
            LIBS zelk_automation)
