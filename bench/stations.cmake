# The stations' band power: cost of eight stations at 96 kHz, level accuracy and leakage.
zelk_bench(bench_station_band_power SOURCES station_band_power_bench.cpp LIBS zelk_recorder_core)
