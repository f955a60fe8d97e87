# Sources of the engine library in engine/input.
target_sources(tarnwick PRIVATE
)
