# Display sources of the native build: the desktop window (through the
# window library), the presenters a display setting can name there, and
# screenshots painted with the font.
target_sources(tarnwick PRIVATE
  engine/display/CellPicture.cpp
  engine/display/DisplayScreenshot.cpp
  engine/display/PresenterFactory.cpp
  engine/display/WindowPresenter.cpp
)
