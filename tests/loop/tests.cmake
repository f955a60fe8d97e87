# Tests of engine/loop: the game manager's start-up, loop and shut-down, and
# the pause object.
tw_add_test_suite(loop_tests
  loop/GameManagerTest.cpp
  loop/PauseTest.cpp
  loop/DebugOverlayTest.cpp
  loop/ProblemNoticeTest.cpp
)
