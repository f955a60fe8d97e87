# Benchmarks of the path search, against libtcod's A* (Debian libtcod-dev),
# which only this program links.
find_package(PkgConfig REQUIRED)
pkg_check_modules(TCOD REQUIRED IMPORTED_TARGET libtcod)
tw_add_benchmark(bench_path PathBench.cpp)
target_link_libraries(bench_path PRIVATE PkgConfig::TCOD)
