# Tests of the cell grid, the font lookup and the display manager (no window).
tw_add_test_suite(display_tests
  display/DisplayTest.cpp
)

# The display manager drawing characters and shapes into a real window on the
# test X server.
tw_add_test_suite(display_window_tests
  display/DisplayWindowTest.cpp
  support/XWindowDriver.cpp
  LABELS window
)
