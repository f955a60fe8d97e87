# Tests of engine/display (or the game, for tests/game).
