# Benchmark of the network manager: round trips over TCP and WebSocket.
tw_add_benchmark(bench_network NetworkBench.cpp RatioReporter.cpp)
# The native host the page's round trip is measured against
# (bench/web/network.mjs): echoes whole messages on a WebSocket port.
add_executable(bench_echo_host web/EchoHost.cpp)
target_link_libraries(bench_echo_host PRIVATE tarnwick_internal)
add_dependencies(benchmarks bench_echo_host)
