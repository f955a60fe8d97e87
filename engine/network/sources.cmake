# Sources of the engine library in engine/network.
target_sources(tarnwick PRIVATE
  engine/network/EventNetwork.cpp
  engine/network/EventNetworkAccept.cpp
  engine/network/EventNetworkClose.cpp
  engine/network/NetworkManager.cpp
  engine/network/ObjectSerialization.cpp
  engine/network/SpectatorServer.cpp
  engine/network/WebSocketListener.cpp
)
