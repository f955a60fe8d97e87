# Tests of engine/loop: the game manager's start-up, loop and shut-down, and
# the pause object.
tw_add_test_suite(loop_tests
  loop/GameManagerTest.cpp
  loop/PauseTest.cpp
)
tw_add_test_suite(hot_reload_tests
  loop/HotReloadTest.cpp
)
