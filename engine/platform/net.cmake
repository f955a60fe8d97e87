# Platform sources: sockets. A browser page has Emscripten's, which carry a
# connection over a WebSocket and cannot listen (PageSockets.cpp).
target_sources(tarnwick PRIVATE engine/platform/Socket.cpp)
if(TW_WEB)
  target_sources(tarnwick PRIVATE engine/platform/PageSockets.cpp)
else()
  target_sources(tarnwick PRIVATE engine/platform/HostSockets.cpp)
endif()
# WebSocket servers: framing by wslay, the handshake's SHA-1 and Base64 by
# nettle, both linked privately. A page listens for nobody, so it has neither.
if(TW_WEB)
  target_sources(tarnwick PRIVATE engine/platform/NoWebSockets.cpp)
else()
  find_library(TW_WSLAY_LIBRARY wslay REQUIRED)
  find_path(TW_WSLAY_INCLUDE_DIR wslay/wslay.h REQUIRED)
  find_package(PkgConfig REQUIRED)
  pkg_check_modules(TW_NETTLE REQUIRED IMPORTED_TARGET nettle)
  target_sources(tarnwick PRIVATE
    engine/platform/WebSocketHandshake.cpp
    engine/platform/WebSocketStream.cpp
  )
  target_include_directories(tarnwick PRIVATE ${TW_WSLAY_INCLUDE_DIR})
  # Installed, the library names the target Tarnwick::websocket, which the
  # package's configuration file makes from the libraries found on the user's side.
  target_link_libraries(tarnwick PRIVATE
    $<BUILD_INTERFACE:${TW_WSLAY_LIBRARY}> $<BUILD_INTERFACE:PkgConfig::TW_NETTLE>
    $<INSTALL_INTERFACE:Tarnwick::websocket>)
endif()
