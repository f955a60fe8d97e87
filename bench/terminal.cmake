# Benchmarks of the terminal presenter (bytes written per frame).
tw_add_benchmark(bench_terminal TerminalBench.cpp)
target_compile_definitions(bench_terminal PRIVATE TW_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
