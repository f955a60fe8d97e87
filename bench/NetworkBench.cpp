// Round trip of a 64-byte whole message over loopback between a client and
// the network manager, which echoes it: a plain TCP peer against a WebSocket
// peer (its frames made by wslay, masked as a client's). Prints the ratio
// WebSocket / TCP.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>
#include <string>

#include "bench/RatioReporter.h"
#include "engine/core/Config.h"
#include "engine/network/NetworkManager.h"
#include "engine/platform/Socket.h"
#include "engine/platform/WebSocketStream.h"

namespace {

namespace platform = tw::platform;
tw::NetworkManager& net() { return tw::NetworkManager::getInstance(); }

std::string framed(const std::string& message) {
  std::string out;
  for (int i = 0; i < 4; i++) out += static_cast<char>((message.size() >> (8 * i)) & 0xFF);
  return out + message;
}

// The client's side: its bytes go out plain or through a WebSocket stream.
struct Client {
  int socket = platform::NO_SOCKET;
  std::unique_ptr<platform::WebSocketStream> websocket;

  long send(const std::string& bytes) {
    return websocket ? websocket->send(bytes.data(), bytes.size())
                     : platform::socketSend(socket, bytes.data(), bytes.size());
  }
  long receive(char* buffer, std::size_t bytes) {
    return websocket ? websocket->receive(buffer, bytes)
                     : platform::socketReceive(socket, buffer, bytes);
  }
};

// Connects a client and lets the manager accept it; the server's socket.
int connect(Client& client, bool websocket) {
  const int port = websocket ? net().getWebSocketPort() : net().getServerPort();
  client.socket = platform::socketConnect("127.0.0.1", std::to_string(port), 3000);
  if (websocket) {
    const std::string request =
        "GET / HTTP/1.1\r\nHost: 127.0.0.1\r\nUpgrade: websocket\r\nConnection: Upgrade\r\n"
        "Sec-WebSocket-Key: dGhlIHNhbXBsZSBub25jZQ==\r\nSec-WebSocket-Version: 13\r\n\r\n";
    platform::socketSend(client.socket, request.data(), request.size());
  }
  while (net().getConnectionCount() == 0) net().acceptPending();
  if (websocket) {
    std::string answer;
    char c = 0;
    while (answer.find("\r\n\r\n") == std::string::npos) {
      if (platform::socketReceive(client.socket, &c, 1) == 1) answer += c;
    }
    client.websocket = std::make_unique<platform::WebSocketStream>(client.socket, false, 1 << 16);
  }
  return net().getSocket(0);
}

void roundTrips(benchmark::State& state, bool websocket) {
  tw::Config::getInstance().reset();
  net().startUp();
  net().setUpServer("0", "127.0.0.1");
  if (websocket) net().setUpWebSocketServer("0", "127.0.0.1");
  Client client;
  const int server = connect(client, websocket);
  const std::string message = framed(std::string(64, 'm'));
  std::string got;
  char buffer[256];
  for (auto _ : state) {
    client.send(message);
    while (net().receiveMessage(got, server) == 0) {
    }
    net().sendMessage(got, server);
    std::size_t back = 0;
    while (back < message.size()) {
      const long n = client.receive(buffer, sizeof(buffer));
      if (n > 0) back += static_cast<std::size_t>(n);
    }
  }
  client.websocket.reset();
  platform::socketClose(client.socket);
  net().shutDown();
}

void BM_RoundTripTcp(benchmark::State& state) { roundTrips(state, false); }
void BM_RoundTripWebSocket(benchmark::State& state) { roundTrips(state, true); }
BENCHMARK(BM_RoundTripTcp)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RoundTripWebSocket)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  return tw_bench::runWithRatios(
      argc, argv,
      {{"64-byte round trip, WebSocket / TCP", "BM_RoundTripWebSocket", "BM_RoundTripTcp", 3.0}});
}
