# Tests of engine/world (or the game, for tests/game).
