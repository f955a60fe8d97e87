# Tests of engine/world (geometry, objects, scene graph, grid, world manager).
tw_add_test_suite(world_tests
  world/GeometryTest.cpp
  world/ObjectTest.cpp
  world/SceneGraphTest.cpp
  world/WorldHazardTest.cpp
  world/WorldManagerTest.cpp
)
