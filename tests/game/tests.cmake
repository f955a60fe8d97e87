# Tests of the game's logic, headless, with the game's own sprites and sounds.
tw_add_test_suite(game_tests
  game/HazardTest.cpp
  game/RunnerTest.cpp
  game/SceneryTest.cpp
  game/ScreensTest.cpp
)
target_link_libraries(game_tests PRIVATE veld_game)
if(TARGET veld_data)
  add_dependencies(game_tests veld_data)
endif()
