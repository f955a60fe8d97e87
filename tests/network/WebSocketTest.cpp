// The network manager's WebSocket clients, and a game's spectators, over
// real sockets on 127.0.0.1: the far end a small wslay client
// (tests/support/WebSocketClient) working in a thread of its own while the
// host runs its real game loop.
#include <gtest/gtest.h>

#include <dirent.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "engine/core/EventStep.h"
#include "engine/display/DisplayManager.h"
#include "engine/loop/Spectating.h"
#include "engine/network/EventNetworkClose.h"
#include "engine/network/NetworkManager.h"
#include "engine/network/SpectatorServer.h"
#include "engine/platform/PageLayout.h"
#include "tests/support/HostedGame.h"
#include "tests/support/WebSocketClient.h"

using tw_test::HostedGame;
using tw_test::WebSocketClient;

namespace {

// The log's lines without the loop's reports of frames it could not keep up
// with: those say how busy the machine is, not what the clients did.
std::vector<std::string> withoutOverruns(std::vector<std::string> lines) {
  lines.erase(std::remove_if(lines.begin(), lines.end(),
                             [](const std::string& line) {
                               return line.find("Can't keep up!") != std::string::npos;
                             }),
              lines.end());
  return lines;
}

int openDescriptors() {
  int count = 0;
  DIR* dir = opendir("/proc/self/fd");
  while (dir != nullptr && readdir(dir) != nullptr) count++;
  if (dir != nullptr) closedir(dir);
  return count;
}

// A host that echoes every whole message, listening for WebSocket clients
// on a free port (the websocket_port setting), and counting close events.
class EchoHost : public HostedGame {
 public:
  explicit EchoHost(const std::string& settings = "")
      : HostedGame("websocket_port:0" + (settings.empty() ? "" : "," + settings)) {
    echo = true;
    closes = new tw_test::Probe;  // the world owns it
    closes->registerInterest(tw::NETWORK_CLOSE_EVENT);
    closes->on_event = [this](const tw::Event*) { closed++; };
  }
  // Runs the loop while client works in its own thread, until it is done
  // and done() holds (or, failing, MAX_STEPS passed).
  void serve(const std::function<void(int port)>& client,
             const std::function<bool()>& done = [] { return true; }) {
    std::atomic<bool> finished{false};
    std::thread worker([&] {
      client(nm.getWebSocketPort());
      finished = true;
    });
    runUntil([&] { return finished && done(); }, 3000);
    worker.join();
  }

  int closed = 0;

 private:
  tw_test::Probe* closes = nullptr;
};

}  // namespace

// A WebSocket peer gets the same events and whole messages as a TCP one,
// however its frames cut the messages.
TEST(WebSocket, PeerSendsAndReceivesWholeMessagesLikeATcpPeer) {
  alarm(60);
  EchoHost host;
  ASSERT_GE(host.nm.getWebSocketPort(), 0);
  const std::string big(60000, 'x');
  std::vector<std::string> echoed;
  host.serve(
      [&](int port) {
        WebSocketClient client(port);
        ASSERT_TRUE(client.upgraded());
        const std::string hello = tw_test::framed("hello");
        client.sendBinary(hello.substr(0, 3));  // a message cut across frames
        client.sendBinary(hello.substr(3));
        client.sendBinary(tw_test::framed("a") + tw_test::framed("b"));  // two in one
        client.sendMessage(big);
        std::string message;
        while (echoed.size() < 4 && client.receiveMessage(message)) echoed.push_back(message);
      },
      [&] { return host.closed == 1; });
  EXPECT_EQ(echoed, (std::vector<std::string>{"echo:hello", "echo:a", "echo:b", "echo:" + big}));
  EXPECT_EQ(host.accepted, 1);
  EXPECT_EQ(host.closed, 1);  // the client's going closed its connection
  alarm(0);
}

// WebSocket peers count against max_connections: one over is answered 503.
TEST(WebSocket, PeersOverTheMaximumAreRefused) {
  alarm(60);
  EchoHost host;
  host.nm.setMaxConnections(1);
  bool first = false;
  std::string second;
  host.serve([&](int port) {
    WebSocketClient one(port);
    first = one.upgraded();
    WebSocketClient two(port, false);
    second = two.handshake(WebSocketClient::goodRequest());
  });
  host.nm.setMaxConnections(3);
  EXPECT_TRUE(first);
  EXPECT_EQ(second.rfind("HTTP/1.1 503", 0), 0u) << second;
  alarm(0);
}

// Hostile clients: each is turned away (with the answer or close code its
// fault calls for), a good client is served right after, the descriptors
// come back to where they were and the log stays a few lines long.
TEST(WebSocket, HostileClientsNeitherStopTheGameNorLeakNorFloodTheLog) {
  struct Hostile {
    const char* name;
    std::function<void(int port)> act;
  };
  const auto refusedWith = [](const std::string& request, const char* status) {
    return [request, status](int port) {
      WebSocketClient client(port, false);
      const std::string answer = client.handshake(request);
      EXPECT_EQ(answer.rfind(status, 0), 0u) << answer;
      EXPECT_TRUE(client.seesClose());
    };
  };
  const auto closedWith = [](const std::string& frame, int code) {
    return [frame, code](int port) {
      WebSocketClient client(port);
      ASSERT_TRUE(client.upgraded());
      client.writeRaw(frame);
      EXPECT_TRUE(client.seesClose());
      EXPECT_EQ(client.closeCode(), code);
    };
  };
  std::string bad_version = WebSocketClient::goodRequest();
  bad_version.replace(bad_version.find("Version: 13"), 11, "Version: 8");
  // A masked binary frame announcing 1 MiB (over max_message_bytes) with its
  // first 2000 bytes, and an unmasked one (only a server may send those).
  const std::string too_long =
      std::string("\x82\xFF\0\0\0\0\0\x10\0\0\x01\x02\x03\x04", 14) + std::string(2000, 'x');
  const std::string unmasked = std::string("\x82\x05", 2) + tw_test::framed("x");
  const Hostile cases[] = {
      {"bad version", refusedWith(bad_version, "HTTP/1.1 400")},
      {"not HTTP", refusedWith("\x16\x03\x01\x02 hello\r\n\r\n", "HTTP/1.1 400")},
      {"endless request", refusedWith("GET / HTTP/1.1\r\n" + std::string(9000, 'a'),
                                      "HTTP/1.1 400")},
      {"frame over the limit", closedWith(too_long, 1009)},
      {"unmasked frame", closedWith(unmasked, 1002)},
      {"1000 connect and drop",
       [](int port) {
         for (int i = 0; i < 1000; i++) {
           WebSocketClient client(port, false);
           if (i % 2 == 1) client.writeRaw("GET / HT");  // some leave mid-request
         }
       }},
      {"200 idle peers",
       [](int port) {
         std::vector<std::unique_ptr<WebSocketClient>> idle;
         for (int i = 0; i < 200; i++) {
           idle.push_back(std::make_unique<WebSocketClient>(port));
           EXPECT_TRUE(idle.back()->upgraded());
         }
       }},
  };
  for (const Hostile& hostile : cases) {
    SCOPED_TRACE(hostile.name);
    alarm(120);
    EchoHost host("max_message_bytes:1000");
    host.nm.setMaxConnections(300);
    const int descriptors = openDescriptors();
    std::string reply;
    host.serve(
        [&](int port) {
          hostile.act(port);
          WebSocketClient good(port);
          good.sendMessage("still here");
          good.receiveMessage(reply);
        },
        [&] { return host.nm.getConnectionCount() == 0; });
    EXPECT_EQ(reply, "echo:still here");
    EXPECT_EQ(openDescriptors(), descriptors);
    EXPECT_EQ(host.accepted, host.closed);
    host.nm.setMaxConnections(3);
    const auto lines = withoutOverruns(host.lines(""));
    std::printf("%s: %zu log lines\n", hostile.name, lines.size());
    EXPECT_LE(lines.size(), 25u);
    alarm(0);
  }
}

namespace {

const int WATCHED_FRAME_FLOATS = 80 * 24 * tw::platform::page::CHARACTER_STRIDE;

// A game under the capture presenter drawing a full, changing screen each
// step (a Veld-sized frame), serving spectators on a free port. Checks at
// each step that its server holds at most one frame for each watcher.
class WatchedGame {
 public:
  explicit WatchedGame(const std::string& settings)
      // The first item of a key counts, and a key left out keeps its value
      // from the game before: every setting is given.
      : engine(settings + (settings.empty() ? "" : ",") +
               "headless:false,display:capture,frame_time:0,networking:false,spectate_port:0,"
               "max_spectators:32") {
    EXPECT_EQ(game.startUp(), 0);
    auto* screen = new tw_test::Probe;  // the world owns it
    screen->registerInterest(tw::STEP_EVENT);
    screen->on_draw = [] {
      const tw::DisplayManager& display = tw::DisplayManager::getInstance();
      const int step = tw::GameManager::getInstance().getStepCount();
      for (int y = 0; y < 24; y++) {
        for (int x = 0; x < 80; x++) {
          display.drawCharacter(tw::Vector(static_cast<float>(x), static_cast<float>(y)),
                                static_cast<char>('!' + (x + 7 * y + step) % 94), tw::GREEN);
        }
      }
    };
    screen->on_event = [this](const tw::Event*) {
      if (!until) return;
      tw::SpectatorServer* server = tw::Spectating::getInstance().getServer();
      // One frame, its text and the geometry (with the font's fit table,
      // some 13 KB) at most wait for any watcher.
      const std::size_t bound = (4u * WATCHED_FRAME_FLOATS + 8192u + 32768u) *
                                static_cast<std::size_t>(server->getWatcherCount());
      if (server->getWaitingBytes() > bound) over_bound = server->getWaitingBytes() - bound;
      dropped = server->getDroppedFrames();
      watchers = server->getWatcherCount();
      if ((until && until()) || game.getStepCount() >= last_step) game.setGameOver();
    };
  }
  ~WatchedGame() {
    if (game.isStarted()) game.shutDown();
  }
  tw::SpectatorServer& server() const { return *tw::Spectating::getInstance().getServer(); }
  // Waits in the client's thread until the game's server has done enough.
  void await(const std::function<bool()>& enough) const {
    while (!stopped && !enough()) std::this_thread::yield();
  }
  // Runs the loop while client works in its own thread, until it is done
  // and done() holds (or, failing, MAX_STEPS passed).
  void serve(const std::function<void(int port)>& client, const std::function<bool()>& done) {
    std::atomic<bool> finished{false};
    const int port = tw::Spectating::getInstance().getPort();
    std::thread worker([&] {
      client(port);
      finished = true;
    });
    until = [&] { return finished && done(); };
    last_step = game.getStepCount() + MAX_STEPS;
    game.run();
    stopped_in_time = game.getStepCount() < last_step;
    stopped = true;
    until = nullptr;
    worker.join();
  }

  tw_test::ConfiguredEngine engine;
  tw::GameManager& game = tw::GameManager::getInstance();
  std::size_t over_bound = 0;  // bytes waiting for watchers past the bound, at one step
  std::atomic<long> dropped{0};   // the server's figures, as of the last step
  std::atomic<int> watchers{0};
  std::atomic<bool> stopped{false};
  bool stopped_in_time = false;
  static const int MAX_STEPS = 20000;  // the rows take a few hundred

 private:
  std::function<bool()> until;
  int last_step = 0;
};

// A watcher's first messages: the geometry, the screen's text and a frame
// whose top row of characters is the text's top row.
void expectWatchable(int port) {
  WebSocketClient watcher(port);
  ASSERT_TRUE(watcher.upgraded());
  std::string geometry, text, frame;
  bool is_text = false;
  ASSERT_TRUE(watcher.receiveWhole(geometry, is_text));
  EXPECT_TRUE(is_text);
  EXPECT_EQ(geometry.rfind("{\"geometry\":{\"cols\":80,\"rows\":24,\"cellW\":12.8,", 0), 0u)
      << geometry;
  ASSERT_TRUE(watcher.receiveWhole(text, is_text));
  EXPECT_TRUE(is_text);
  ASSERT_TRUE(watcher.receiveWhole(frame, is_text));
  EXPECT_FALSE(is_text);
  ASSERT_EQ(frame.size(), 4u * WATCHED_FRAME_FLOATS);
  std::vector<float> list(WATCHED_FRAME_FLOATS);
  std::memcpy(list.data(), frame.data(), frame.size());
  std::string top_row;
  for (int x = 0; x < 80; x++) {
    const float* item = &list[static_cast<std::size_t>(x) * tw::platform::page::CHARACTER_STRIDE];
    EXPECT_EQ(item[tw::platform::page::CHARACTER_KIND], tw::platform::page::DRAW_CHARACTER);
    EXPECT_FLOAT_EQ(item[tw::platform::page::CHARACTER_X], 12.8f * static_cast<float>(x));
    EXPECT_EQ(item[tw::platform::page::CHARACTER_COLOR], 0x00ff00);
    const char c = static_cast<char>(item[tw::platform::page::CHARACTER_CODE]);
    if (c == '"' || c == '\\') top_row += '\\';  // as JSON writes them
    top_row += c;
  }
  EXPECT_EQ(text.rfind("{\"text\":\"" + top_row + "\\n", 0), 0u) << text;
}

}  // namespace

// Watchers that are slow, gone, idle by the hundred, one too many or
// talkative: the game steps on, holds at most one frame for each, drops the
// ones that leave, and a watcher joining afterwards gets the current frame;
// descriptors come back to where they were.
TEST(Spectators, NeitherSlowNorGoneNorCrowdingWatchersHoldTheGameUp) {
  struct Crowd {
    const char* name;
    const char* settings;
    long least_dropped;  // frames the server must have skipped for a watcher
    std::function<void(WatchedGame& game, int port)> act;
  };
  const Crowd cases[] = {
      {"slow watcher never reads", "", 100,
       [](WatchedGame& game, int port) {
         WebSocketClient slow(port);
         ASSERT_TRUE(slow.upgraded());
         // Far more frames than the sockets' buffers hold.
         game.await([&] { return game.dropped >= 100; });
       }},
      {"gone watcher", "", 0,
       [](WatchedGame&, int port) {
         WebSocketClient gone(port);
         EXPECT_TRUE(gone.upgraded());
       }},
      {"200 idle watchers", "max_spectators:300", 0,
       [](WatchedGame&, int port) {
         std::vector<std::unique_ptr<WebSocketClient>> idle;
         for (int i = 0; i < 200; i++) {
           idle.push_back(std::make_unique<WebSocketClient>(port));
           EXPECT_TRUE(idle.back()->upgraded());
         }
       }},
      {"one over the cap", "max_spectators:2", 0,
       [](WatchedGame& game, int port) {
         WebSocketClient first(port), second(port);
         EXPECT_TRUE(first.upgraded() && second.upgraded());
         game.await([&] { return game.watchers == 2; });
         WebSocketClient third(port, false);
         EXPECT_EQ(third.handshake(WebSocketClient::goodRequest()).rfind("HTTP/1.1 503", 0), 0u);
       }},
      {"talkative watcher", "", 0,
       [](WatchedGame&, int port) {
         WebSocketClient talker(port);
         ASSERT_TRUE(talker.upgraded());
         for (int i = 0; i < 50; i++) talker.sendBinary("ignored");
         talker.sendBinary(std::string(5000, 'x'));  // over the watchers' limit
         EXPECT_TRUE(talker.seesClose());
       }},
  };
  for (const Crowd& crowd : cases) {
    SCOPED_TRACE(crowd.name);
    alarm(120);
    WatchedGame game(crowd.settings);
    const int descriptors = openDescriptors();
    game.serve(
        [&](int port) {
          crowd.act(game, port);
          expectWatchable(port);
        },
        [&] { return game.server().getWatcherCount() == 0; });
    EXPECT_GE(game.dropped, crowd.least_dropped);
    EXPECT_EQ(openDescriptors(), descriptors);
    EXPECT_EQ(game.over_bound, 0u);
    EXPECT_TRUE(game.stopped_in_time);
    game.game.shutDown();
    const auto lines = withoutOverruns(game.engine.logLines());
    EXPECT_LE(lines.size(), 25u) << lines[lines.size() / 2];
    alarm(0);
  }
}
