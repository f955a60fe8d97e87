# Benchmarks of the display.
