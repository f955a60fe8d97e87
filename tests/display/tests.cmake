# Tests of the display without a window: the cell grid, the font lookup, the display
# manager, and frames, sprites, animations and view objects drawn through it.
tw_add_test_suite(display_tests
  display/CellCanvasTest.cpp
  display/CellPictureTest.cpp
  display/DisplayTest.cpp
  display/GlyphFitterTest.cpp
)

# The display manager drawing characters and shapes into a real window on the
# test X server.
tw_add_test_suite(display_window_tests
  display/DisplayWindowTest.cpp
  support/XWindowDriver.cpp
  LABELS window
)
