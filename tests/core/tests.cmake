# Tests of engine/core.
tw_add_test_suite(core_tests
  core/BlockPoolTest.cpp
  core/ConfigTest.cpp
  core/ListenerListTest.cpp
  core/LogManagerTest.cpp
  core/ManagerTest.cpp
  core/NearestNamesTest.cpp
  core/ObjectListTest.cpp
  core/UtilityTest.cpp
  core/GeneratorTest.cpp
  core/ColorBlendTest.cpp
)
