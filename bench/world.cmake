# Benchmarks of the world.
