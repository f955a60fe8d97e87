# Tests of the tools under tools/ (run as programs, from the build's bin folder).
tw_add_test_suite(tools_tests
  tools/SpriteToolTest.cpp
)
add_dependencies(tools_tests tw_sprite)

# tw-sprite show --watch in a real terminal (tmux).
tw_add_test_suite(tools_terminal_tests
  tools/SpriteWatchTest.cpp
  support/TmuxDriver.cpp
  LABELS terminal
)
target_compile_definitions(tools_terminal_tests PRIVATE TW_SPRITE_TOOL="$<TARGET_FILE:tw_sprite>")
add_dependencies(tools_terminal_tests tw_sprite)
