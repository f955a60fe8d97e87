# Tests of engine/world (geometry, objects, scene graph, grid, world manager).
tw_add_test_suite(world_tests
  world/ObjectTest.cpp
  world/WorldManagerTest.cpp
)
