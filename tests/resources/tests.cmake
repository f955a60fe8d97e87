# Tests of engine/resources (or the game, for tests/game).
