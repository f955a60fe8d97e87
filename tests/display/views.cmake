# Tests of shapes and view objects.
tw_add_test_suite(view_tests
  display/ShapeTest.cpp
  display/ViewObjectTest.cpp
)

# Shapes drawn into a real window.
tw_add_test_suite(view_window_tests
  display/ShapeWindowTest.cpp
  support/XWindowDriver.cpp
  LABELS window
)
