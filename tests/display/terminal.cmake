# The terminal presenter in a real terminal: the probe program runs in a tmux
# session, which the tests type into and read the screen of.
add_executable(tw_terminal_probe display/TerminalProbe.cpp)
target_link_libraries(tw_terminal_probe PRIVATE tarnwick_internal)

tw_add_test_suite(display_terminal_tests
  display/TerminalPresenterTest.cpp
  support/TmuxDriver.cpp
  LABELS terminal
)
target_compile_definitions(display_terminal_tests PRIVATE
  TW_TERMINAL_PROBE="$<TARGET_FILE:tw_terminal_probe>")
add_dependencies(display_terminal_tests tw_terminal_probe)
