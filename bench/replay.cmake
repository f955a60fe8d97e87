# Benchmark of replaying a recorded Veld session.
tw_add_benchmark(bench_replay ReplayBench.cpp RatioReporter.cpp)
target_link_libraries(bench_replay PRIVATE veld_game)
add_dependencies(bench_replay veld_data)
