# Ingest cost of the chart control's sample converters against a plain conversion loop.
zelk_bench(converters_bench SOURCES converters_bench.cpp LIBS kvplotax_render)
