# Benchmark of the network manager: round trips over TCP and WebSocket.
tw_add_benchmark(bench_network NetworkBench.cpp RatioReporter.cpp)
