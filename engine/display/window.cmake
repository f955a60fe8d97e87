# Display sources of the native build: the desktop window (through the
# window library) and the presenters a display setting can name there.
target_sources(tarnwick PRIVATE
  engine/display/PresenterFactory.cpp
  engine/display/WindowPresenter.cpp
)
