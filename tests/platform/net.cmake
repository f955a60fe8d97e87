# Tests of the socket layer, over real TCP connections on 127.0.0.1.
tw_add_test_suite(platform_net_tests
  network/LoopbackPeer.cpp
  platform/SocketTest.cpp
  platform/WebSocketHandshakeTest.cpp
)
