# Benchmarks of the world.
tw_add_benchmark(bench_world WorldBench.cpp)
