# Tests of the game's logic, headless, with the game's own sprites and sounds.
tw_add_test_suite(game_tests
  game/GameTest.cpp
)
target_link_libraries(game_tests PRIVATE veld_game)
if(TARGET veld_data)
  add_dependencies(game_tests veld_data)
endif()

# The built game played in a real window.
tw_add_test_suite(game_window_tests
  game/EndToEndTest.cpp
  support/XWindowDriver.cpp
  LABELS window
)
add_dependencies(game_window_tests veld)

# The built game played in a real terminal (tmux).
tw_add_test_suite(game_terminal_tests
  game/TerminalGameTest.cpp
  support/TmuxDriver.cpp
  LABELS terminal
)
target_compile_definitions(game_terminal_tests PRIVATE TW_VELD="$<TARGET_FILE:veld>")
add_dependencies(game_terminal_tests veld)
