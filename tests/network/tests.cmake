# Tests of engine/network, over real TCP connections on 127.0.0.1.
tw_add_test_suite(network_tests
  network/LoopbackPeer.cpp
  network/NetworkManagerTest.cpp
  network/FloodTest.cpp
  network/WebSocketTest.cpp
)
