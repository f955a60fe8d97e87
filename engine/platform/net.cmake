# Platform sources: sockets (none in a browser page).
if(TW_WEB)
  target_sources(tarnwick PRIVATE engine/platform/NoSockets.cpp)
else()
  target_sources(tarnwick PRIVATE engine/platform/Socket.cpp)
endif()
