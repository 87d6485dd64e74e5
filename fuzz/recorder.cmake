# The recorder's log reader on arbitrary file contents; whole logs played back and exported.
zelk_fuzzer(fuzz_log_reader SOURCES fuzz_log_reader.cpp LIBS zelk_recorder_core)
zelk_fuzzer(fuzz_csv_export SOURCES fuzz_csv_export.cpp LIBS zelk_recorder_core)
zelk_fuzzer(fuzz_log_playback
            SOURCES fuzz_log_playback.cpp ${PROJECT_SOURCE_DIR}/recorder/tests/fake_chart.cpp
            LIBS zelk_recorder_core)
target_include_directories(fuzz_log_playback PRIVATE ${PROJECT_SOURCE_DIR}/recorder/tests)
# zelkchart --serve's routing of requests to pages and logs.
zelk_fuzzer(fuzz_web_request SOURCES fuzz_web_request.cpp LIBS zelkchart_web_route)
# The checks on a request head before it is parsed, and SID files of stations.
zelk_fuzzer(fuzz_web_request_head SOURCES fuzz_web_request_head.cpp LIBS zelkchart_web_route)
zelk_fuzzer(fuzz_sid_reader SOURCES fuzz_sid_reader.cpp LIBS zelk_recorder_core)
