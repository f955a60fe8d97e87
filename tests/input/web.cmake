# The input probe as a page of the browser build, beside the players' site
# (test-site/probe.html), for the page's part of the input script
# (tests/web/input-page.mjs).
add_executable(tw_input_probe_page tests/input/InputProbeMain.cpp tests/support/InputProbe.cpp)
target_link_libraries(tw_input_probe_page PRIVATE tarnwick)
tarnwick_web_page(tw_input_probe_page PAGE probe FOLDER ${CMAKE_BINARY_DIR}/test-site)
