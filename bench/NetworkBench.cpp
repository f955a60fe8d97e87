// Round trip of a 64-byte whole message over loopback between a client and
// the network manager, which echoes it: a plain TCP peer against a WebSocket
// peer (its frames made by wslay, masked as a client's). Prints the ratio
// WebSocket / TCP. Also the cost of a game step (a full, changing 80 x 24
// screen under the capture presenter, a Veld-sized frame) while serving 1, 10
// and 100 spectators that read every frame, as ratios to a step nobody
// watches; and the memory 200 watchers that never read take and give back.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "bench/RatioReporter.h"
#include "bench/ScreenFill.h"
#include "engine/core/Config.h"
#include "engine/loop/GameManager.h"
#include "engine/loop/Spectating.h"
#include "engine/network/NetworkManager.h"
#include "engine/network/SpectatorServer.h"
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

// A game filling the screen each step as fast as it can, serving spectators
// on a free port; stopped when it goes out of scope.
class SpectatedGame {
 public:
  SpectatedGame() {
    tw::Config& config = tw::Config::getInstance();
    for (const char* item : {"display:capture", "frame_time:0", "networking:false",
                             "spectate_port:0", "max_spectators:300",
                             "logfile:/tmp/tw-bench-spectators.log"}) {
      config.addOverride(item);
    }
    game.startUp();
    new tw_bench::ScreenFill(0);  // the world owns it
  }
  ~SpectatedGame() {
    for (const int socket : watchers) platform::socketClose(socket);
    game.shutDown();
  }
  // Connects count watchers and steps until the game has taken them all.
  void watch(int count) {
    const std::string request =
        "GET /watch HTTP/1.1\r\nHost: 127.0.0.1\r\nUpgrade: websocket\r\nConnection: Upgrade\r\n"
        "Sec-WebSocket-Key: dGhlIHNhbXBsZSBub25jZQ==\r\nSec-WebSocket-Version: 13\r\n\r\n";
    const std::string port = std::to_string(tw::Spectating::getInstance().getPort());
    // In groups: of more clients in their handshake at once than the
    // listener keeps, the oldest would be dropped.
    for (int i = 0; i < count; i++) {
      watchers.push_back(platform::socketConnect("127.0.0.1", port, 3000));
      platform::socketSend(watchers.back(), request.data(), request.size());
      const int taken = static_cast<int>(watchers.size());
      if (taken % 32 == 0 || i == count - 1) {
        while (tw::Spectating::getInstance().getServer()->getWatcherCount() < taken) {
          game.runStep();
        }
      }
    }

  }
  // Reads whatever the watchers were sent.
  void drain() {
    for (const int socket : watchers) {
      while (platform::socketReceive(socket, buffer.data(), buffer.size()) > 0) {
      }
    }
  }

  tw::GameManager& game = tw::GameManager::getInstance();
  std::vector<int> watchers;
  std::vector<char> buffer = std::vector<char>(1 << 16);
};

void BM_StepWatched(benchmark::State& state) {
  SpectatedGame spectated;
  spectated.watch(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    spectated.game.runStep();
    state.PauseTiming();
    spectated.drain();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_StepWatched)->Arg(0)->Arg(1)->Arg(10)->Arg(100)->Unit(benchmark::kMicrosecond);

long residentKilobytes() {
  long pages = 0, resident = 0;
  std::FILE* statm = std::fopen("/proc/self/statm", "r");
  if (statm != nullptr) {
    if (std::fscanf(statm, "%ld %ld", &pages, &resident) != 2) resident = 0;
    std::fclose(statm);
  }
  return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

// 200 watchers that never read, twice over: the resident memory the first
// crowd adds while the game runs 300 steps, what is left 60 steps after it
// has gone (freed memory the allocator keeps), and what the second crowd adds
// on top of the first one's peak (0: nothing leaked, the memory is reused).
void BM_IdleWatchersMemory(benchmark::State& state) {
  for (auto _ : state) {
    SpectatedGame spectated;
    for (int i = 0; i < 30; i++) spectated.game.runStep();
    const long before = residentKilobytes();
    long peak[2] = {0, 0};
    for (long& crowd_peak : peak) {
      spectated.watch(200);
      for (int i = 0; i < 300; i++) spectated.game.runStep();
      crowd_peak = residentKilobytes();
      for (const int socket : spectated.watchers) platform::socketClose(socket);
      spectated.watchers.clear();
      for (int i = 0; i < 60; i++) spectated.game.runStep();
    }
    state.counters["grew_kB"] = static_cast<double>(peak[0] - before);
    state.counters["left_kB"] = static_cast<double>(residentKilobytes() - before);
    state.counters["again_kB"] = static_cast<double>(peak[1] - peak[0]);
    state.counters["watchers_left"] = tw::Spectating::getInstance().getServer()->getWatcherCount();
  }
}
BENCHMARK(BM_IdleWatchersMemory)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  return tw_bench::runWithRatios(
      argc, argv,
      {{"64-byte round trip, WebSocket / TCP", "BM_RoundTripWebSocket", "BM_RoundTripTcp", 3.0},
       // A step nobody watches is short here (the capture presenter draws
       // nothing): the goals keep 100 watchers well inside a 33 ms frame.
       {"step with 1 watcher / none", "BM_StepWatched/1", "BM_StepWatched/0", 4.0},
       {"step with 10 watchers / none", "BM_StepWatched/10", "BM_StepWatched/0", 10.0},
       {"step with 100 watchers / none", "BM_StepWatched/100", "BM_StepWatched/0", 60.0}});
}
