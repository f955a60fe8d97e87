# The terminal input parser (bytes to events; no terminal needed).
tw_add_test_suite(platform_terminal_tests
  platform/TerminalInputTest.cpp
)
