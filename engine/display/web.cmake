# Display sources of the browser build: the page's canvas presenter and the
# presenters a display setting can name in a page.
target_sources(tarnwick PRIVATE
  engine/display/WebPresenter.cpp
  engine/display/WebPresenterFactory.cpp
  engine/display/WebScreenshot.cpp
)
