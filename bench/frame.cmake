# A whole frame of the loop through the capture presenter.
tw_add_benchmark(bench_frame FrameBench.cpp)
