# Platform sources of the native build: POSIX sleeping, and files that last
# by themselves.
target_sources(tarnwick PRIVATE
  engine/platform/HostStorage.cpp
  engine/platform/Timer.cpp
)
