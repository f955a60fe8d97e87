# Platform sources: the SFML adapter.
target_sources(tarnwick PRIVATE
)
