# The browser build's benchmark page (site/screen.html), measured with the
# pages of Veld by bench/web/figures.mjs (make web-bench).
add_executable(bench_screen_page bench/web/ScreenPage.cpp)
target_link_libraries(bench_screen_page PRIVATE tarnwick)
tarnwick_web_page(bench_screen_page PAGE screen)
