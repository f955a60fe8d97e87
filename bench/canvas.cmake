# Off-screen canvases filled and copied, against libtcod's consoles (Debian
# libtcod-dev), which only this program links.
find_package(PkgConfig REQUIRED)
pkg_check_modules(TCOD REQUIRED IMPORTED_TARGET libtcod)
tw_add_benchmark(bench_canvas CanvasBench.cpp)
target_link_libraries(bench_canvas PRIVATE PkgConfig::TCOD)
