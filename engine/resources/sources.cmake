# Sources of the engine library in engine/resources.
target_sources(tarnwick PRIVATE
)
