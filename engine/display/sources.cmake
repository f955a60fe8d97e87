# Display sources: colours, the display manager, the frame's draw list and the
# presenters that show it.
target_sources(tarnwick PRIVATE
  engine/display/CapturePresenter.cpp
  engine/display/CellCanvas.cpp
  engine/display/CellCoverage.cpp
  engine/display/CellFilling.cpp
  engine/display/CellGeometry.cpp
  engine/display/CellGrid.cpp
  engine/display/DisplayManager.cpp
  engine/display/DrawList.cpp
  engine/display/FontLookup.cpp
  engine/display/GlyphFitter.cpp
  engine/display/InputState.cpp
  engine/display/PageFrame.cpp
  engine/display/PageFits.cpp
)
