# The debug overlay's cost per frame, shown against hidden.
tw_add_benchmark(bench_overlay OverlayBench.cpp RatioReporter.cpp)
