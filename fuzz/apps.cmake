# The choices file the windows keep, on arbitrary contents and names.
if(TARGET zelk_apps_common)
  zelk_fuzzer(fuzz_remembered_choices SOURCES fuzz_remembered_choices.cpp LIBS zelk_apps_common)
endif()
