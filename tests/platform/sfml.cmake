# Tests of the SFML adapter.
