# Tests of frames, sprites and animation.
tw_add_test_suite(art_tests
  display/AnimationTest.cpp
  display/FrameTest.cpp
  display/SpriteTest.cpp
)
