// The network manager under hostile peers, driven by the real game loop on
// 127.0.0.1: a burst of connections must not keep a real peer waiting, and a
// peer repeating a fault must not make the log grow with it.
#include <gtest/gtest.h>

#include <unistd.h>

#include <chrono>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "engine/core/EventStep.h"
#include "engine/loop/GameManager.h"
#include "engine/network/EventNetwork.h"
#include "engine/network/NetworkManager.h"
#include "tests/network/LoopbackPeer.h"
#include "tests/support/EngineFixtures.h"
#include "tests/support/HostedGame.h"
#include "tests/support/WebSocketClient.h"

using tw_test::framed;
using tw_test::HostedGame;
using tw_test::LoopbackPeer;

namespace {
using Clock = std::chrono::steady_clock;

bool hasMessage(const std::vector<std::string>& got, const std::string& message) {
  for (const std::string& each : got) {
    if (each == message) return true;
  }
  return false;
}
}  // namespace

// The loop takes every pending connection each frame, so a real client's
// message comes through within a frame or two after thousands of resets.
TEST(NetworkFlood, RealClientIsServedRightAfterABurstOfResets) {
  for (int resets : {1000, 3000}) {
    SCOPED_TRACE(resets);
    alarm(60);
    HostedGame host("");
    for (int i = 0; i < resets; i++) LoopbackPeer(host.port()).close(true);
    LoopbackPeer client(host.port());
    ASSERT_TRUE(client.write(framed("hello")));
    const Clock::time_point sent = Clock::now();
    const int first_step = host.game.getStepCount();
    Clock::time_point arrived;
    int steps = 0;
    host.runUntil(
        [&] {
          arrived = Clock::now();
          steps = host.game.getStepCount() - first_step;
          return hasMessage(host.got, "hello");
        },
        1000);
    ASSERT_TRUE(hasMessage(host.got, "hello"));
    // Counted in frames, which a busy machine does not change (at 33 ms a
    // frame, three are 0.1 s; one connection a frame took 3000).
    std::printf("after %d resets the client's message arrived in %d frames, %.3f s\n", resets,
                steps, std::chrono::duration<double>(arrived - sent).count());
    EXPECT_LE(steps, 3);
    alarm(0);
  }
}

// A fault a peer can repeat at will is logged in full once, then only
// counted: the log stays a few lines long however long the flood.
TEST(NetworkFlood, RepeatedFaultsAreCountedNotLoggedOneByOne) {
  struct Flood {
    const char* name;
    int max_connections;
    std::function<void(int port, std::vector<std::unique_ptr<LoopbackPeer>>& peers)> send;
    const char* about;  // the text of the fault's lines
    const char* first;  // the text of the first fault's own line, said in full once
    const char* total;  // the closing count
    std::function<bool(const HostedGame&)> done;
  };
  const auto closeMany = [](int port, std::vector<std::unique_ptr<LoopbackPeer>>&) {
    for (int i = 0; i < 600; i++) LoopbackPeer(port).close();
  };
  const auto allClosed = [](const HostedGame& host) {
    return host.accepted == 600 && host.nm.getConnectionCount() == 0;
  };
  const Flood floods[] = {
      {"one-byte records", 3,
       [](int port, std::vector<std::unique_ptr<LoopbackPeer>>& peers) {
         std::string bytes;
         for (int i = 0; i < 20000; i++) bytes += framed("\x01");
         peers.push_back(std::make_unique<LoopbackPeer>(port));
         EXPECT_TRUE(peers.back()->write(bytes));
         peers.back()->close();
       },
       "deserialize()", "Error! Stream eof.", "20000 records refused as corrupt in all",
       [](const HostedGame& host) {
         return host.got.size() == 20000 && host.nm.getConnectionCount() == 0;
       }},
      {"peers closing, closed to make room", 3, closeMany, "closed by", "closed by peer",
       "600 connections closed by their peer in all", allClosed},
      {"peers closing, read by the host", 1000, closeMany, "closed by", "closed by peer.",
       "600 connections closed by their peer in all", allClosed},
      {"peers over the maximum", 1,
       [](int port, std::vector<std::unique_ptr<LoopbackPeer>>& peers) {
         for (int i = 0; i < 301; i++) peers.push_back(std::make_unique<LoopbackPeer>(port));
       },
       "max connections", "New connection refused",
       "300 connections refused at max_connections in all",
       [](const HostedGame& host) { return host.nm.getConnectionCount() == 1; }},
  };
  for (const Flood& flood : floods) {
    SCOPED_TRACE(flood.name);
    alarm(60);
    HostedGame host("");
    host.nm.setMaxConnections(flood.max_connections);
    std::vector<std::unique_ptr<LoopbackPeer>> peers;
    flood.send(host.port(), peers);
    host.runUntil([&] { return flood.done(host); }, 300);
    host.runUntil([] { return false; }, 3);  // frames enough to take anything left
    const std::vector<std::string> about = host.lines(flood.about);
    EXPECT_LE(about.size(), 8u) << ::testing::PrintToString(about);
    EXPECT_EQ(host.lines(flood.first).size(), 1u) << ::testing::PrintToString(about);
    EXPECT_EQ(host.lines(flood.total).size(), 1u) << ::testing::PrintToString(about);
    alarm(0);
  }
}
