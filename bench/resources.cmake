# Benchmarks of sprite loading and drawing.
tw_add_benchmark(bench_sprites SpriteBench.cpp)
