# Frames, sprites and animations are tested with the display manager: display_tests
# (tests.cmake).
