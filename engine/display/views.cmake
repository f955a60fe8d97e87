# Display sources: view objects.
target_sources(tarnwick PRIVATE
  engine/display/EventView.cpp
  engine/display/ViewObject.cpp
)
