# The browser build's benchmark page, bench-site/screen.html: beside the
# players' site rather than in it, measured with the pages of Veld by
# bench/web/figures.mjs (make web-bench).
add_executable(bench_screen_page bench/web/ScreenPage.cpp)
target_link_libraries(bench_screen_page PRIVATE tarnwick)
tarnwick_web_page(bench_screen_page PAGE screen FOLDER ${CMAKE_BINARY_DIR}/bench-site)
