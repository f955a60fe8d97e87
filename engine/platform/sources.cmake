# Sources of the engine library in engine/platform.
target_sources(tarnwick PRIVATE
  engine/platform/FileCheck.cpp
  engine/platform/Timer.cpp
)
