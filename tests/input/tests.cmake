# Tests of engine/input (or the game, for tests/game).
