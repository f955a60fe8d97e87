# Display sources: colours and the display manager.
target_sources(tarnwick PRIVATE
  engine/display/CellGeometry.cpp
  engine/display/Color.cpp
  engine/display/DisplayManager.cpp
)
