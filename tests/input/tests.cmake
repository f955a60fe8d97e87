# Tests of the input manager and its events (no window).
tw_add_test_suite(input_tests
  input/InputManagerTest.cpp
  support/InputProbe.cpp
)

# The input probe as a program, driven from outside through a window and a
# terminal by the tests below.
add_executable(tw_input_probe input/InputProbeMain.cpp support/InputProbe.cpp)
target_include_directories(tw_input_probe PRIVATE ${CMAKE_SOURCE_DIR})
target_link_libraries(tw_input_probe PRIVATE tarnwick_internal)

# The input manager reading real key and mouse input sent to a window on the
# test X server, and the pause object waiting on it.
tw_add_test_suite(input_window_tests
  input/InputWindowTest.cpp
  support/InputProbe.cpp
  support/InputScript.cpp
  support/XWindowDriver.cpp
  LABELS window
)
add_dependencies(input_window_tests tw_input_probe)
target_compile_definitions(input_window_tests PRIVATE TW_INPUT_PROBE="$<TARGET_FILE:tw_input_probe>")

# The input script typed into the probe in a real terminal (tmux).
tw_add_test_suite(input_terminal_tests
  input/InputTerminalTest.cpp
  support/InputProbe.cpp
  support/InputScript.cpp
  support/TmuxDriver.cpp
  LABELS terminal
)
add_dependencies(input_terminal_tests tw_input_probe)
target_compile_definitions(input_terminal_tests PRIVATE TW_INPUT_PROBE="$<TARGET_FILE:tw_input_probe>")
