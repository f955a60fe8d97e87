# Platform sources: sockets.
target_sources(tarnwick PRIVATE
  engine/platform/Socket.cpp
)
