// The page's side of the page-to-host round-trip figure: joins the echo host
// named on its command line (HOST PORT, from the page's ?arg=) through the
// network manager. The figure script then bounces a 64-byte whole message off
// the host: echoStart() sends the first, and echoReceived(rounds), called
// each time the page's socket has data, takes what came back and sends again
// until rounds round trips are done.
#include <emscripten.h>

#include <string>

#include "engine/core/LogManager.h"
#include "engine/network/NetworkManager.h"

namespace {
int peer = -1;
int done = 0;
const std::string message(64, 'm');
tw::NetworkManager& net() { return tw::NetworkManager::getInstance(); }
// Tells the figure script whether the page joined the host (1) or not (-1).
EM_JS(void, tw_echo_ready, (int ready), { Module.echoReady = ready; });
}  // namespace

extern "C" {
EMSCRIPTEN_KEEPALIVE int echoStart() { return net().sendMessage(message, peer); }

// Round trips done so far, -1 when the connection is gone.
EMSCRIPTEN_KEEPALIVE int echoReceived(int rounds) {
  std::string got;
  int result = 0;
  while ((result = net().receiveMessage(got, peer)) == 1) {
    done++;
    if (done < rounds && net().sendMessage(message, peer) != 0) return -1;
  }
  return result < 0 ? -1 : done;
}
}

int main(int argc, char* argv[]) {
  if (argc != 3) return 2;
  tw::LogManager::getInstance().startUp();
  if (net().startUp() != 0) return 1;
  peer = net().connect(argv[1], argv[2]);
  tw_echo_ready(peer >= 0 ? 1 : -1);
  return 0;  // the runtime stays: the script drives the round trips
}
