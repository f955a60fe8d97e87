# Tests of engine/world (geometry, objects, scene graph, grid, world manager).
tw_add_test_suite(world_tests
  world/BucketListTest.cpp
  world/GridTest.cpp
  world/ObjectTest.cpp
  world/SceneGraphTest.cpp
  world/WorldManagerTest.cpp
)
