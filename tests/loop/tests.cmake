# Tests of engine/loop: the game manager's start-up, loop and shut-down, the
# pause object and the shared command line.
tw_add_test_suite(loop_tests
  loop/CommandLineTest.cpp
  loop/GameManagerTest.cpp
  loop/PauseTest.cpp
  loop/DebugOverlayTest.cpp
  loop/ProblemNoticeTest.cpp
  loop/TurnLoopTest.cpp
)
tw_add_test_suite(hot_reload_tests
  loop/HotReloadTest.cpp
)
