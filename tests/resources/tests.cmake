# Tests of engine/resources: sprite files, sounds, music and the resource manager.
tw_add_test_suite(resources_tests
  resources/ResourceManagerTest.cpp
  resources/XpFileTest.cpp
)
