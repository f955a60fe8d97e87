# Platform sources: sockets.
target_sources(tarnwick PRIVATE
)
