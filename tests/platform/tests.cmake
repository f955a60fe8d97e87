# Tests of engine/platform (or the game, for tests/game).
tw_add_test_suite(platform_tests
  platform/FileWatcherTest.cpp
  platform/FontCoverageTest.cpp
  platform/LargeArrayTest.cpp
  platform/PageTablesTest.cpp
  platform/RandomSequenceTest.cpp
)
# The page script's tables module this build wrote (cmake/TarnwickWeb.cmake).
set_source_files_properties(platform/PageTablesTest.cpp PROPERTIES
  COMPILE_DEFINITIONS TW_PAGE_TABLES_JS="${TW_PAGE_TABLES_JS}")
# The font reader is checked against FreeType.
find_package(Freetype REQUIRED)
target_link_libraries(platform_tests PRIVATE Freetype::Freetype)
