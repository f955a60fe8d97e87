# Tests of engine/core (or the game, for tests/game).
