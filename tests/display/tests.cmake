# Tests of colours and the display manager (no window).
tw_add_test_suite(display_tests
  display/CellGridTest.cpp
  display/DisplayManagerTest.cpp
  display/FontLookupTest.cpp
)

# The display manager drawing into a real window on the test X server.
tw_add_test_suite(display_window_tests
  display/DisplayWindowTest.cpp
  support/XWindowDriver.cpp
  LABELS window
)
