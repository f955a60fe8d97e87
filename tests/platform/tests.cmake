# Tests of engine/platform (or the game, for tests/game).
tw_add_test_suite(platform_tests
  platform/FileWatcherTest.cpp
  platform/LargeArrayTest.cpp
  platform/RandomSequenceTest.cpp
)
