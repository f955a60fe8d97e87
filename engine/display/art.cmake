# Display sources: frames, sprites and animation.
target_sources(tarnwick PRIVATE
  engine/display/Animation.cpp
  engine/display/Frame.cpp
  engine/display/Sprite.cpp
)
