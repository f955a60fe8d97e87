# Sources of the engine library in engine/world.
target_sources(tarnwick PRIVATE
  engine/world/Box.cpp
  engine/world/Object.cpp
  engine/world/Solidness.cpp
  engine/world/Vector.cpp
)
