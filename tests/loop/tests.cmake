# Tests of engine/loop: the game manager's start-up, loop and shut-down, and
# the pause object.
tw_add_test_suite(loop_tests
  loop/GameManagerTest.cpp
  loop/PauseTest.cpp
)

# The pause object in a real window.
tw_add_test_suite(loop_window_tests
  loop/PauseWindowTest.cpp
  support/XWindowDriver.cpp
  LABELS window
)
