# Tests of engine/path (searches and the path manager).
tw_add_test_suite(path_tests
  path/NodeStateMapTest.cpp
  path/OpenHeapTest.cpp
  path/PathTest.cpp
  path/CellMapTest.cpp
  path/FieldOfViewTest.cpp
  path/CellSearchTest.cpp
)
