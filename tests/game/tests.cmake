# Tests of engine/game (or the game, for tests/game).
