// The network manager's WebSocket clients over real sockets on 127.0.0.1:
// the far end a small wslay client (tests/support/WebSocketClient) working
// in a thread of its own while the host runs its real game loop.
#include <gtest/gtest.h>

#include <dirent.h>
#include <unistd.h>

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "engine/network/EventNetworkClose.h"
#include "engine/network/NetworkManager.h"
#include "tests/support/HostedGame.h"
#include "tests/support/WebSocketClient.h"

using tw_test::HostedGame;
using tw_test::WebSocketClient;

namespace {

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
  // and done() holds (or 3000 steps passed).
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
    const auto lines = host.lines("");
    std::printf("%s: %zu log lines\n", hostile.name, lines.size());
    EXPECT_LE(lines.size(), 25u);
    alarm(0);
  }
}
