# Tests of shapes and view objects.
tw_add_test_suite(view_tests
  display/ViewObjectTest.cpp
)
