# Tests of engine/core.
tw_add_test_suite(core_tests
  core/ConfigTest.cpp
  core/FramePacerTest.cpp
  core/GameManagerTest.cpp
  core/LogManagerTest.cpp
  core/ManagerTest.cpp
  core/ObjectListTest.cpp
  core/PauseTest.cpp
  core/UtilityTest.cpp
)

# The pause object in a real window.
tw_add_test_suite(core_window_tests
  core/PauseWindowTest.cpp
  support/XWindowDriver.cpp
  LABELS window
)
