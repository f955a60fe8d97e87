# Benchmarks of the display.
tw_add_benchmark(bench_display DisplayBench.cpp RatioReporter.cpp)
