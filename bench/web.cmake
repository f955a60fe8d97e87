# The browser build's benchmark page, bench-site/screen.html: beside the
# players' site rather than in it, measured with the pages of Veld by
# bench/web/figures.mjs (make web-bench).
add_executable(bench_screen_page bench/web/ScreenPage.cpp)
target_link_libraries(bench_screen_page PRIVATE tarnwick)
tarnwick_web_page(bench_screen_page PAGE screen FOLDER ${CMAKE_BINARY_DIR}/bench-site)
# The page of the page-to-host round-trip figure, bench-site/echo.html, which
# joins bench_echo_host (bench/network.cmake) on the port given in its URL.
add_executable(bench_echo_page bench/web/EchoPage.cpp)
target_link_libraries(bench_echo_page PRIVATE tarnwick)
tarnwick_web_page(bench_echo_page PAGE echo FOLDER ${CMAKE_BINARY_DIR}/bench-site)
