# Tests of frames, sprites and animation.
