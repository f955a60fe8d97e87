# Tests of engine/platform (or the game, for tests/game).
