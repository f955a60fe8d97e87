# The examples under examples/ (and Veld, for exit statuses), each run as a
# program from the bin folder.
if(TARNWICK_BUILD_EXAMPLES)
  tw_add_test_suite(examples_tests examples/ExamplesTest.cpp network/LoopbackPeer.cpp)
  foreach(example IN LISTS TW_EXAMPLES)
    add_dependencies(examples_tests example_${example})
  endforeach()
  if(TARGET veld)
    add_dependencies(examples_tests veld)
  endif()
endif()

# The roguelike example in a real terminal (tmux).
if(TARNWICK_BUILD_EXAMPLES)
  tw_add_test_suite(examples_terminal_tests
    examples/RoguelikeTerminalTest.cpp
    support/TmuxDriver.cpp
    LABELS terminal
  )
  target_compile_definitions(examples_terminal_tests PRIVATE
    TW_ROGUELIKE="$<TARGET_FILE:example_roguelike>")
  add_dependencies(examples_terminal_tests example_roguelike)
endif()
