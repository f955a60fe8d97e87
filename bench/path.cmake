# Benchmarks of the path search.
tw_add_benchmark(bench_path PathBench.cpp)
