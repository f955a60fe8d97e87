# Benchmarks of sprite loading and drawing.
tw_add_benchmark(bench_sprites SpriteBench.cpp)
# Save-to-screen latency of a hot-reloaded sprite.
tw_add_benchmark(bench_reload ReloadBench.cpp RatioReporter.cpp)
add_dependencies(bench_reload tw_font)
