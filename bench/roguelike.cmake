# Benchmarks of the cell map's field of view, Dijkstra maps and immediate A*
# against libtcod's (Debian libtcod-dev), which only this program links.
find_package(PkgConfig REQUIRED)
pkg_check_modules(TCOD REQUIRED IMPORTED_TARGET libtcod)
tw_add_benchmark(bench_roguelike RoguelikeBench.cpp)
target_link_libraries(bench_roguelike PRIVATE PkgConfig::TCOD)
