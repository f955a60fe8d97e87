# Sources of the engine library in engine/world.
target_sources(tarnwick PRIVATE
  engine/world/Box.cpp
  engine/world/BucketList.cpp
  engine/world/EventCollision.cpp
  engine/world/EventOut.cpp
  engine/world/Geometry.cpp
  engine/world/Grid.cpp
  engine/world/Object.cpp
  engine/world/OrderedObjectSet.cpp
  engine/world/PathSearches.cpp
  engine/world/SceneGraph.cpp
  engine/world/Solidness.cpp
  engine/world/Vector.cpp
  engine/world/WorldManager.cpp
)
