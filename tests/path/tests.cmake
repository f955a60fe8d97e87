# Tests of engine/path (or the game, for tests/game).
