# Platform sources of the browser build: waits that end on the page's frame
# callbacks, the page's canvas, input, audio and storage. The JavaScript side
# is the page script's modules in engine/platform/web/, linked into every program
# (cmake/TarnwickWeb.cmake).
target_sources(tarnwick PRIVATE
  engine/platform/WebAudio.cpp
  engine/platform/WebPage.cpp
  engine/platform/WebStorage.cpp
  engine/platform/WebTimer.cpp
)
