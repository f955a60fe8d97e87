# Tests of engine/path (paths, searches and the path manager).
tw_add_test_suite(path_tests
  path/PathFindTest.cpp
  path/PathManagerTest.cpp
)
