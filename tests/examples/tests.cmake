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
