// The native side of the page-to-host round-trip figure: listens for
// WebSocket clients on 127.0.0.1 (a free port, printed as "echoing on port
// N"), takes the first one and sends back every whole message it receives,
// until that client leaves. It gives up the processor whenever nothing came,
// so that on a machine with few cores it does not starve the browser.
#include <cstdio>
#include <string>
#include <thread>

#include "engine/core/LogManager.h"
#include "engine/network/NetworkManager.h"

int main() {
  tw::NetworkManager& net = tw::NetworkManager::getInstance();
  tw::LogManager::getInstance().startUp();
  if (net.startUp() != 0 || net.setUpWebSocketServer("0", "127.0.0.1") != 0) return 1;
  std::printf("echoing on port %d\n", net.getWebSocketPort());
  std::fflush(stdout);
  while (net.getConnectionCount() == 0) {
    net.acceptPending();
    std::this_thread::yield();
  }
  const int peer = net.getSocket(0);
  std::string got;
  int result = 0;
  while ((result = net.receiveMessage(got, peer)) >= 0) {
    if (result == 0) std::this_thread::yield();
    if (result == 1 && net.sendMessage(got, peer) != 0) break;
  }
  net.shutDown();
  tw::LogManager::getInstance().shutDown();
  return 0;
}
