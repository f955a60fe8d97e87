# Tests of the tools under tools/ (run as programs, from the build's bin folder).
tw_add_test_suite(tools_tests
  tools/SpriteToolTest.cpp
)
add_dependencies(tools_tests tw_sprite)
