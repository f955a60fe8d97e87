// The network manager over real TCP connections on 127.0.0.1 (the far end a
// plain POSIX client, tests/network/LoopbackPeer), and the network events.
#include "engine/network/NetworkManager.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <memory>
#include <string>
#include <vector>

#include "engine/network/EventNetworkAccept.h"
#include "engine/network/EventNetworkClose.h"
#include "tests/network/LoopbackPeer.h"
#include "tests/support/EngineFixtures.h"

using tw_test::LoopbackPeer;

namespace {
class NetworkManagerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    alarm(20);                 // a hung socket call ends (and fails) the test
    signal(SIGPIPE, SIG_DFL);  // a raised SIGPIPE would end the test too
    ASSERT_EQ(nm.startUp(), 0);
  }
  void TearDown() override {
    if (nm.isStarted()) nm.shutDown();
    alarm(0);
  }
  int startServer() {
    EXPECT_EQ(nm.setUpServer("0", "127.0.0.1"), 0);
    return nm.getServerPort();
  }
  // Calls f until it returns other than idle, for at most about two seconds.
  template <typename F>
  static int retry(int idle, F f) {
    int got = f();
    for (int tries = 0; tries < 400 && got == idle; tries++, got = f()) usleep(5000);
    return got;
  }
  int acceptOne() { return retry(-1, [this] { return nm.accept(); }); }
  // Connects a new peer to the manager's server and accepts it.
  int connectPeer(int port) {
    peers.push_back(std::make_unique<LoopbackPeer>(port));
    return acceptOne();
  }
  // A probe of events of type; the sockets they name go to seen.
  std::unique_ptr<tw_test::Probe> listen(const std::string& type) {
    auto probe = std::make_unique<tw_test::Probe>();
    EXPECT_EQ(probe->registerInterest(type), 0);
    probe->on_event = [this](const tw::Event* e) {
      seen.push_back(static_cast<const tw::EventNetwork*>(e)->getSocket());
    };
    return probe;
  }
  int receiveSome(char* buffer, int socket) {
    return retry(0, [&] { return nm.receive(buffer, 16, socket); });
  }

  tw_test::LogCapture log;
  tw::NetworkManager& nm = tw::NetworkManager::getInstance();
  std::vector<std::unique_ptr<LoopbackPeer>> peers;
  std::vector<int> seen;
};
}  // namespace

TEST(NetworkManager, TakesExactlyTheNetworkEventsAndServesOnlyWhenStarted) {
  tw_test::LogCapture log;
  tw::NetworkManager& nm = tw::NetworkManager::getInstance();
  EXPECT_TRUE(nm.isValid("tw-network-sync"));
  for (const char* type : {"tw-step", "tw-network-", "TW-NETWORK", ""}) {
    EXPECT_FALSE(nm.isValid(type)) << type;
  }
  EXPECT_EQ(nm.setUpServer("0", "127.0.0.1"), -1);
  EXPECT_EQ(nm.connect("127.0.0.1", "9"), -1);
  EXPECT_TRUE(log.contains("NetworkManager not started!"));
}

TEST_F(NetworkManagerTest, AcceptAnnouncesClientsUpToTheMaximumAndShutDownClosesAll) {
  EXPECT_EQ(nm.startUp(), -1);
  EXPECT_EQ(nm.accept(), -2);  // not a server
  const int port = startServer();
  EXPECT_EQ(nm.accept(), -1);  // nothing pending: no wait
  EXPECT_FALSE(nm.isConnected(-1));
  auto accepts = listen("tw-network-accept");
  const int socket = connectPeer(port);
  ASSERT_GE(socket, 0);
  EXPECT_EQ(seen, std::vector<int>{socket});
  EXPECT_TRUE(nm.isConnected(socket));
  EXPECT_TRUE(nm.isConnected(-1));

  for (int i = 0; i < 2; i++) ASSERT_GE(connectPeer(port), 0);
  peers.push_back(std::make_unique<LoopbackPeer>(port));
  EXPECT_EQ(nm.accept(), -1);  // at the maximum of three
  EXPECT_EQ(nm.getConnectionCount(), 3);
  EXPECT_EQ(nm.setMaxConnections(-1), -1);
  EXPECT_EQ(nm.setMaxConnections(4), 0);
  EXPECT_GE(acceptOne(), 0);
  EXPECT_EQ(nm.getConnectionCount(), 4);
  EXPECT_EQ(seen.size(), 4u);

  auto closes = listen("tw-network-close");
  nm.shutDown();
  EXPECT_FALSE(nm.isServer());
  EXPECT_EQ(nm.getConnectionCount(), 0);
  EXPECT_EQ(seen.size(), 8u);
  for (auto& peer : peers) EXPECT_TRUE(peer->seesClose());
  EXPECT_FALSE(LoopbackPeer(port).connected());  // no longer listening
}

TEST_F(NetworkManagerTest, SendDeliversRefusesBadTargetsAndSizesAndClosesOnALostPeer) {
  const int port = startServer();
  const int first = connectPeer(port);
  const int second = connectPeer(port);
  ASSERT_GE(second, 0);
  EXPECT_EQ(nm.send("hello", 5, first), 0);
  EXPECT_EQ(peers[0]->read(5), "hello");
  EXPECT_EQ(nm.send("x", 1, 9999), -1);
  EXPECT_EQ(nm.send("x", 1, -1), -1);  // "any connection" is no target
  EXPECT_EQ(nm.send("x", -5, first), -1);
  EXPECT_EQ(nm.send(nullptr, 4, first), -1);
  EXPECT_EQ(nm.getConnectionCount(), 2);
  EXPECT_EQ(peers[0]->read(1, 50), "");

  // Sending to a peer that left fails and closes the connection.
  auto closes = listen("tw-network-close");
  peers[1]->close();
  EXPECT_EQ(retry(0, [&] { return nm.send("ping", 4, second); }), -1);
  EXPECT_EQ(nm.getConnectionCount(), 1);
  EXPECT_EQ(seen, std::vector<int>{second});
}

TEST_F(NetworkManagerTest, HugeSendIsPartialAndLaterBlockedSendsAreOnlyCounted) {
  const int socket = connectPeer(startServer());
  ASSERT_GE(socket, 0);
  const std::vector<char> huge(64 << 20, 'h');
  EXPECT_EQ(nm.send(huge.data(), static_cast<int>(huge.size()), socket), -1);
  EXPECT_TRUE(log.contains(" of 67108864 bytes sent."));

  // The peer reads nothing, so later sends would block: the first is logged,
  // then only the count at 10, 100, 1000 and at close.
  int blocked = 0;
  for (int tries = 0; tries < 5000 && blocked < 1000; tries++) blocked += -nm.send("x", 1, socket);
  ASSERT_EQ(blocked, 1000);
  EXPECT_TRUE(nm.isConnected(socket));
  const std::string counted = " sends on socket " + std::to_string(socket) + " would have blocked.";
  EXPECT_TRUE(log.contains("NetworkManager::send(): Warning! 1000" + counted));
  nm.close(socket);
  EXPECT_TRUE(log.contains("NetworkManager::close(): Note! 1000" + counted));
  const std::vector<std::string> lines = log.messages();
  const std::string error = "NetworkManager::send(): Error! Return is -1.";
  EXPECT_EQ(std::count(lines.begin(), lines.end(), error), 1);
  EXPECT_LE(lines.size(), 8u);
}

// Close handlers may send or close themselves: each connection is announced
// once, already gone.
TEST_F(NetworkManagerTest, CloseAnnouncesEachConnectionOnceInOrder) {
  auto closes = listen("tw-network-close");
  const int port = startServer();
  const int elsewhere = connectPeer(port);
  const int first = connectPeer(port);
  const int second = connectPeer(port);
  ASSERT_GE(second, 0);
  EXPECT_EQ(nm.close(9999), -1);
  // A descriptor closed behind the manager's back is dropped, not kept.
  ASSERT_EQ(::close(elsewhere), 0);
  EXPECT_EQ(nm.close(elsewhere), -1);
  EXPECT_EQ(seen, std::vector<int>{elsewhere});
  EXPECT_EQ(nm.getConnectionCount(), 2);
  seen.clear();
  std::vector<int> sends;
  closes->on_event = [&](const tw::Event* e) {
    const int socket = static_cast<const tw::EventNetwork*>(e)->getSocket();
    seen.push_back(socket);
    sends.push_back(nm.send("x", 1, socket));
    if (socket == first) nm.close(second);
  };
  EXPECT_EQ(nm.close(-1), 0);
  EXPECT_EQ(seen, (std::vector<int>{first, second}));
  EXPECT_EQ(sends, (std::vector<int>{-1, -1}));
  EXPECT_EQ(nm.getConnectionCount(), 0);
  EXPECT_TRUE(peers[1]->seesClose());
  EXPECT_TRUE(peers[2]->seesClose());
}

TEST_F(NetworkManagerTest, QueuedMessageWaitsForItsStepAndHoldsBackThoseBehindIt) {
  const int port = startServer();
  const int first = connectPeer(port);
  const int second = connectPeer(port);
  ASSERT_GE(second, 0);
  char text[] = "late";
  ASSERT_EQ(nm.queueMessage(text, 4, first, 5), 0);
  text[0] = 'X';  // the queue holds its own copy
  ASSERT_EQ(nm.queueMessage("next", 4, first, 3), 0);
  ASSERT_EQ(nm.queueMessage("now", 3, second, 0), 0);
  ASSERT_EQ(nm.queueMessage("b", 1, second, 3), 0);
  EXPECT_EQ(nm.sendQueued(), 0);  // the loop has not run: step 0
  EXPECT_EQ(peers[1]->read(4, 200), "now");
  EXPECT_EQ(nm.sendQueued(2), 0);
  EXPECT_EQ(peers[1]->read(1, 50), "");
  EXPECT_EQ(nm.sendQueued(3), 0);
  EXPECT_EQ(peers[1]->read(1), "b");
  EXPECT_EQ(nm.getQueuedCount(first), 2);
  EXPECT_EQ(nm.sendQueued(5), 0);
  EXPECT_EQ(peers[0]->read(8), "latenext");

  // A peer that vanished with messages queued loses them and its connection.
  for (int i = 0; i < 3; i++) ASSERT_EQ(nm.queueMessage("lost", 4, first, 6), 0);
  ASSERT_EQ(nm.queueMessage("ok", 2, second, 6), 0);
  peers[0]->close(true);
  usleep(20000);
  const int total = nm.sendQueued(6);
  EXPECT_LT(total, 0);
  EXPECT_GE(total, -3);
  EXPECT_EQ(nm.getConnectionCount(), 1);
  EXPECT_EQ(nm.getQueuedCount(first), -1);
  EXPECT_EQ(peers[1]->read(2), "ok");
}

// The manager at both ends: as a client of its own server.
TEST_F(NetworkManagerTest, ConnectsAsClientAndReceivesWithoutWaiting) {
  const int port = startServer();
  EXPECT_EQ(nm.setUpServer("0", "127.0.0.1"), -1);  // already listening
  const int client = nm.connect("127.0.0.1", std::to_string(port));
  ASSERT_GE(client, 0);
  const int served = acceptOne();
  ASSERT_GE(served, 0);
  char buffer[16];
  EXPECT_EQ(nm.receive(buffer, sizeof(buffer), served), 0);  // nothing waiting
  EXPECT_EQ(nm.send("abc", 3, client), 0);
  ASSERT_EQ(receiveSome(buffer, served), 3);
  EXPECT_EQ(std::string(buffer, 3), "abc");
  EXPECT_EQ(nm.receive(buffer, 0, served), -1);
  EXPECT_EQ(nm.receive(nullptr, 4, served), -1);
  EXPECT_EQ(nm.receive(buffer, 4, 9999), -1);
  auto closes = listen("tw-network-close");
  EXPECT_EQ(nm.close(client), 0);
  EXPECT_EQ(receiveSome(buffer, served), -1);
  EXPECT_TRUE(log.contains("Socket " + std::to_string(served) + " closed by peer."));
  EXPECT_EQ(seen, (std::vector<int>{client, served}));
  EXPECT_EQ(nm.getConnectionCount(), 0);

  EXPECT_EQ(nm.closeServer(), 0);
  EXPECT_EQ(nm.connect("127.0.0.1", std::to_string(port)), -1);
  EXPECT_EQ(nm.setUpServer("70000", "127.0.0.1"), -1);
  EXPECT_FALSE(nm.isServer());
  EXPECT_EQ(nm.getServerPort(), -1);
}

TEST(EventNetwork, LabelsOutOfRangeAndNegativeSizesAreRefused) {
  for (int label = -1; label <= 3; label++) EXPECT_EQ(tw::EventNetwork(label).getLabel(), label);
  EXPECT_EQ(tw::EventNetwork(4).getLabel(), -1);
  tw::EventNetwork event(2);
  EXPECT_EQ(event.setLabel(-2), -1);
  EXPECT_EQ(event.getLabel(), -1);
  EXPECT_EQ(tw::EventNetworkAccept().getLabel(), 0);
  EXPECT_EQ(tw::EventNetworkClose().getLabel(), 2);
  EXPECT_EQ(event.setBytes(3), 0);
  EXPECT_EQ(event.setBytes(-4), -1);
  EXPECT_EQ(event.getBytes(), 3);
}
