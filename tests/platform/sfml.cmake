# Tests of the SFML adapter.
tw_add_test_suite(sfml_tests
  platform/SfmlTest.cpp
)
