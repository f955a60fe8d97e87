# Tests of engine/resources: sprite files, sounds, music and the resource manager.
tw_add_test_suite(resources_tests
  resources/MusicTest.cpp
  resources/ResourceManagerTest.cpp
  resources/SoundTest.cpp
  resources/SpriteFileTest.cpp
  resources/SpriteParserTest.cpp
)
