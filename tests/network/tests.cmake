# Tests of engine/network (or the game, for tests/game).
