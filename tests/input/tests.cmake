# Tests of the input manager and its events (no window).
tw_add_test_suite(input_tests
  input/InputManagerTest.cpp
)

# The input manager reading real key and mouse input sent to a window on the
# test X server, and the pause object waiting on it.
tw_add_test_suite(input_window_tests
  input/InputWindowTest.cpp
  support/XWindowDriver.cpp
  LABELS window
)
