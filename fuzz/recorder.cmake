# The recorder's log reader on arbitrary file contents.
zelk_fuzzer(fuzz_log_reader SOURCES fuzz_log_reader.cpp LIBS zelk_recorder_core)
