# Display sources: shapes and view objects.
target_sources(tarnwick PRIVATE
  engine/display/EventView.cpp
  engine/display/Shape.cpp
  engine/display/ViewObject.cpp
)
