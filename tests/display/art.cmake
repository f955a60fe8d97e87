# Tests of frames, sprites and animation.
tw_add_test_suite(art_tests display/ArtTest.cpp)
