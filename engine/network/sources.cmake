# Sources of the engine library in engine/network.
target_sources(tarnwick PRIVATE
)
