# World sources: what an object looks like and where it goes: frames, sprites,
# animation, shapes, the canvas they draw on, and paths.
target_sources(tarnwick PRIVATE
  engine/world/Animation.cpp
  engine/world/Canvas.cpp
  engine/world/EventPath.cpp
  engine/world/Frame.cpp
  engine/world/Path.cpp
  engine/world/Shape.cpp
  engine/world/Sprite.cpp
)
