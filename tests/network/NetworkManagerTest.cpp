#include "engine/network/NetworkManager.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/core/LogManager.h"
#include "engine/network/EventNetwork.h"
#include "engine/world/Object.h"
#include "tests/network/LoopbackPeer.h"
#include "tests/support/TestSupport.h"

using tw_test::LoopbackPeer;

namespace {
struct Seen {
  std::string type;
  int label;
  int socket;
  int bytes;
};

// Records the network events it receives; unregisters itself when destroyed.
class NetListener : public tw::Object {
 public:
  explicit NetListener(std::vector<std::string> types) : listened(std::move(types)) {
    for (const std::string& t : listened) tw::NetworkManager::getInstance().registerInterest(this, t);
  }
  ~NetListener() override {
    for (const std::string& t : listened) tw::NetworkManager::getInstance().unregisterInterest(this, t);
  }
  int eventHandler(const tw::Event* p_e) override {
    const auto* p_n = dynamic_cast<const tw::EventNetwork*>(p_e);
    if (p_n == nullptr) return 0;
    seen.push_back({p_n->getType(), p_n->getLabel(), p_n->getSocket(), p_n->getBytes()});
    if (on_event) on_event(*p_n);
    return 1;
  }
  std::vector<Seen> seen;
  std::function<void(const tw::EventNetwork&)> on_event;

 private:
  std::vector<std::string> listened;
};

class NetworkManagerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    alarm(20);  // a hung socket call ends (and fails) the test
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
  // Accepts the next connection, trying for at most about two seconds.
  int acceptOne() {
    for (int tries = 0; tries < 400; tries++) {
      const int socket = nm.accept();
      if (socket >= 0) return socket;
      usleep(5000);
    }
    return -1;
  }
  // Connects a new peer to the manager's server and accepts it.
  int connectPeer(std::vector<std::unique_ptr<LoopbackPeer>>& peers, int port) {
    peers.push_back(std::make_unique<LoopbackPeer>(port));
    return acceptOne();
  }

  tw_test::LogCapture log;
  tw::NetworkManager& nm = tw::NetworkManager::getInstance();
  std::vector<std::unique_ptr<LoopbackPeer>> peers;
};
}  // namespace

TEST(NetworkManager, AcceptsInterestInExactlyTheNetworkFamily) {
  tw_test::LogCapture log;
  tw::NetworkManager& nm = tw::NetworkManager::getInstance();
  for (const char* type : {"tw-network", "tw-keyboard-network", "tw-mouse-network",
                           "tw-network-accept", "tw-network-close", "tw-network-connect",
                           "tw-network-create", "tw-custom-network", "tw-network-delete",
                           "tw-network-game-over", "tw-network-sync"}) {
    EXPECT_TRUE(nm.isValid(type)) << type;
  }
  for (const char* type : {"tw-step", "tw-keyboard", "tw-network-", "TW-NETWORK", ""}) {
    EXPECT_FALSE(nm.isValid(type)) << type;
  }
  EXPECT_TRUE(log.contains("NetworkManager::isValid(): Error! NetworkManager does not handle tw-step."));
  NetListener wrong({"tw-step"});
  EXPECT_TRUE(log.contains("Manager(NetworkManager)::registerInterest(): Event 'tw-step' not valid"));
}

TEST(NetworkManager, ServerAndClientNeedTheManagerStarted) {
  tw_test::LogCapture log;
  tw::NetworkManager& nm = tw::NetworkManager::getInstance();
  EXPECT_EQ(nm.setUpServer("0", "127.0.0.1"), -1);
  EXPECT_EQ(nm.connect("127.0.0.1", "9"), -1);
  EXPECT_TRUE(log.contains("NetworkManager not started!"));
  EXPECT_FALSE(nm.isServer());
}

TEST_F(NetworkManagerTest, SecondStartUpIsRefusedAndShutDownReleasesEverything) {
  EXPECT_EQ(nm.startUp(), -1);
  EXPECT_TRUE(log.contains("NetworkManager::startup(): Warning! NetworkManager already started."));
  const int port = startServer();
  NetListener listener({"tw-network-close"});
  const int socket = connectPeer(peers, port);
  ASSERT_GE(socket, 0);

  nm.shutDown();
  EXPECT_FALSE(nm.isStarted());
  EXPECT_FALSE(nm.isServer());
  EXPECT_EQ(nm.getConnectionCount(), 0);
  ASSERT_EQ(listener.seen.size(), 1u);
  EXPECT_EQ(listener.seen[0].socket, socket);
  EXPECT_TRUE(peers[0]->seesClose());
  EXPECT_FALSE(LoopbackPeer(port).connected());  // no longer listening
}

TEST_F(NetworkManagerTest, AcceptWithoutServerIsAnErrorAndWithNothingPendingReturnsMinusOne) {
  EXPECT_EQ(nm.accept(), -2);
  EXPECT_TRUE(log.contains("NetworkManager::accept(): Error! Not setup as server."));
  startServer();
  EXPECT_TRUE(nm.isServer());
  tw::LogManager::getInstance().setLogLevel(15);
  EXPECT_EQ(nm.accept(), -1);
  EXPECT_TRUE(log.contains("NetworkManager::accept(): No new connection. Not blocking."));
  EXPECT_FALSE(nm.isConnected(-1));
  EXPECT_FALSE(log.contains("not connected"));
}

TEST_F(NetworkManagerTest, AcceptedClientIsAnnouncedToInterestedObjects) {
  const int port = startServer();
  ASSERT_GT(port, 0);
  NetListener listener({"tw-network-accept"});
  const int socket = connectPeer(peers, port);
  ASSERT_GE(socket, 0);
  ASSERT_EQ(listener.seen.size(), 1u);
  EXPECT_EQ(listener.seen[0].type, "tw-network-accept");
  EXPECT_EQ(listener.seen[0].label, 0);
  EXPECT_EQ(listener.seen[0].socket, socket);
  EXPECT_EQ(listener.seen[0].bytes, 0);
  EXPECT_TRUE(nm.isConnected(socket));
  EXPECT_TRUE(nm.isConnected(-1));
  EXPECT_EQ(nm.getSocket(0), socket);
  EXPECT_EQ(nm.getConnectionValue(socket), 0);
}

TEST_F(NetworkManagerTest, AcceptStopsAtMaxConnectionsUntilRaised) {
  const int port = startServer();
  for (int i = 0; i < 3; i++) ASSERT_GE(connectPeer(peers, port), 0);
  peers.push_back(std::make_unique<LoopbackPeer>(port));
  tw::LogManager::getInstance().setLogLevel(20);
  EXPECT_EQ(nm.accept(), -1);
  EXPECT_TRUE(log.contains("NetworkManager::accept(): Won't check for new connetions since at max."));
  EXPECT_TRUE(log.contains("\tUse NM.setMaxConnections() to change max."));
  EXPECT_EQ(nm.getConnectionCount(), 3);
  EXPECT_EQ(nm.setMaxConnections(-1), -1);
  EXPECT_EQ(nm.setMaxConnections(4), 0);
  EXPECT_GE(acceptOne(), 0);
  EXPECT_EQ(nm.getConnectionCount(), 4);
}

TEST_F(NetworkManagerTest, SendDeliversAndRefusesBadTargetsAndSizes) {
  const int port = startServer();
  const int first = connectPeer(peers, port);
  const int second = connectPeer(peers, port);
  ASSERT_GE(second, 0);
  EXPECT_EQ(nm.send("hello", 5, first), 0);
  EXPECT_EQ(peers[0]->read(5), "hello");

  EXPECT_EQ(nm.send("x", 1, 9999), -1);
  EXPECT_TRUE(log.contains("NetworkManager::isConnected(): Warning! Socket 9999 not connected."));
  EXPECT_TRUE(log.contains("NetworkManager::send(): Error! Socket 9999 not connected. Unable to send."));
  EXPECT_EQ(nm.send("x", 1, -1), -1);  // "any connection" is no target
  EXPECT_EQ(nm.send("x", -5, first), -1);
  EXPECT_EQ(nm.send(nullptr, 4, first), -1);
  EXPECT_EQ(nm.getConnectionCount(), 2);
  EXPECT_EQ(peers[1]->read(1, 50), "");
}

TEST_F(NetworkManagerTest, SendToDisconnectedPeerClosesTheConnection) {
  const int socket = connectPeer(peers, startServer());
  ASSERT_GE(socket, 0);
  NetListener listener({"tw-network-close"});
  peers[0]->close();
  int result = 0;
  for (int tries = 0; tries < 100 && result == 0; tries++) {
    result = nm.send("ping", 4, socket);
    usleep(5000);
  }
  EXPECT_EQ(result, -1);
  EXPECT_TRUE(log.contains("NetworkManager::send(): Error! Return is -1."));
  EXPECT_EQ(nm.getConnectionCount(), 0);
  ASSERT_EQ(listener.seen.size(), 1u);
  EXPECT_EQ(listener.seen[0].type, "tw-network-close");
  EXPECT_EQ(listener.seen[0].label, 2);
  EXPECT_EQ(listener.seen[0].socket, socket);
}

TEST_F(NetworkManagerTest, HugeSendToIdlePeerReturnsAtOnceAsPartialThenBlockedSendsAreCounted) {
  const int socket = connectPeer(peers, startServer());
  ASSERT_GE(socket, 0);
  const std::vector<char> huge(64 << 20, 'h');
  EXPECT_EQ(nm.send(huge.data(), static_cast<int>(huge.size()), socket), -1);
  EXPECT_TRUE(log.contains(" of 67108864 bytes sent."));
  EXPECT_TRUE(nm.isConnected(socket));

  // The peer still reads nothing, so later sends would block: the first is
  // logged, then only the count at 10, 100, 1000 and at close.
  int blocked = 0;
  for (int tries = 0; tries < 5000 && blocked < 1000; tries++) blocked += -nm.send("x", 1, socket);
  ASSERT_EQ(blocked, 1000);
  const std::string counted = " sends on socket " + std::to_string(socket) + " would have blocked.";
  EXPECT_TRUE(log.contains("NetworkManager::send(): Warning! 1000" + counted));
  nm.close(socket);
  EXPECT_TRUE(log.contains("NetworkManager::close(): Note! 1000" + counted));
  const std::vector<std::string> lines = log.messages();
  EXPECT_EQ(std::count(lines.begin(), lines.end(), "NetworkManager::send(): Error! Return is -1."), 1);
  EXPECT_LE(lines.size(), 8u);
}

TEST_F(NetworkManagerTest, CloseAllAnnouncesEachConnectionInOrderAndUnknownChangesNothing) {
  NetListener listener({"tw-network-close"});
  EXPECT_EQ(nm.close(-1), 0);
  EXPECT_TRUE(listener.seen.empty());
  const int port = startServer();
  const int first = connectPeer(peers, port);
  const int second = connectPeer(peers, port);
  ASSERT_GE(second, 0);
  EXPECT_EQ(nm.close(9999), -1);
  EXPECT_TRUE(log.contains("NetworkManager::close(): Error! Socket 9999 not connected."));
  EXPECT_EQ(nm.getConnectionCount(), 2);

  EXPECT_EQ(nm.close(-1), 0);
  ASSERT_EQ(listener.seen.size(), 2u);
  EXPECT_EQ(listener.seen[0].socket, first);
  EXPECT_EQ(listener.seen[1].socket, second);
  EXPECT_EQ(nm.getConnectionCount(), 0);
  EXPECT_TRUE(peers[0]->seesClose());
  EXPECT_TRUE(peers[1]->seesClose());
}

TEST_F(NetworkManagerTest, CloseHandlersSeeTheConnectionGoneAndMayCloseOthers) {
  const int port = startServer();
  const int first = connectPeer(peers, port);
  const int second = connectPeer(peers, port);
  ASSERT_GE(second, 0);
  NetListener listener({"tw-network-close"});
  std::vector<int> sends;
  listener.on_event = [&](const tw::EventNetwork& e) {
    sends.push_back(nm.send("x", 1, e.getSocket()));
    if (e.getSocket() == first) nm.close(second);
  };
  EXPECT_EQ(nm.close(-1), 0);
  ASSERT_EQ(listener.seen.size(), 2u);  // each connection announced once
  EXPECT_EQ(listener.seen[0].socket, first);
  EXPECT_EQ(listener.seen[1].socket, second);
  EXPECT_EQ(sends, (std::vector<int>{-1, -1}));
  EXPECT_EQ(nm.getConnectionCount(), 0);
}

TEST_F(NetworkManagerTest, DescriptorClosedElsewhereIsDroppedNotKept) {
  const int socket = connectPeer(peers, startServer());
  NetListener listener({"tw-network-close"});
  ASSERT_EQ(::close(socket), 0);
  EXPECT_EQ(nm.close(socket), -1);
  EXPECT_TRUE(log.contains("NetworkManager::close(): Error! close() returned:"));
  EXPECT_EQ(nm.getConnectionCount(), 0);
  EXPECT_EQ(listener.seen.size(), 1u);
}

TEST_F(NetworkManagerTest, QueuedMessageWaitsForItsStepAndHoldsBackThoseBehindIt) {
  const int port = startServer();
  const int first = connectPeer(peers, port);
  const int second = connectPeer(peers, port);
  ASSERT_GE(second, 0);
  char text[] = "late";
  ASSERT_EQ(nm.queueMessage(text, 4, first, 5), 0);
  text[0] = 'X';  // the queue holds its own copy
  ASSERT_EQ(nm.queueMessage("next", 4, first, 3), 0);
  ASSERT_EQ(nm.queueMessage("b", 1, second, 3), 0);

  EXPECT_EQ(nm.sendQueued(2), 0);
  EXPECT_EQ(peers[1]->read(1, 50), "");
  EXPECT_EQ(nm.sendQueued(3), 0);
  EXPECT_EQ(peers[1]->read(1), "b");
  EXPECT_EQ(peers[0]->read(1, 50), "");
  EXPECT_EQ(nm.getQueuedCount(first), 2);
  EXPECT_EQ(nm.sendQueued(5), 0);
  EXPECT_EQ(peers[0]->read(8), "latenext");
  EXPECT_EQ(nm.getQueuedCount(first), 0);
}

TEST_F(NetworkManagerTest, SendQueuedUsesTheGameManagersStepCount) {
  const int socket = connectPeer(peers, startServer());
  ASSERT_EQ(nm.queueMessage("now", 3, socket, 0), 0);  // the loop has not run: step 0
  ASSERT_EQ(nm.queueMessage("soon", 4, socket, 1), 0);
  EXPECT_EQ(nm.sendQueued(), 0);
  EXPECT_EQ(peers[0]->read(7, 200), "now");
  EXPECT_EQ(nm.getQueuedCount(socket), 1);
}

TEST_F(NetworkManagerTest, SendQueuedSurvivesAPeerThatVanished) {
  const int port = startServer();
  const int gone = connectPeer(peers, port);
  const int kept = connectPeer(peers, port);
  ASSERT_GE(kept, 0);
  for (int i = 0; i < 3; i++) ASSERT_EQ(nm.queueMessage("lost", 4, gone, 0), 0);
  ASSERT_EQ(nm.queueMessage("ok", 2, kept, 0), 0);
  peers[0]->close(true);
  usleep(20000);

  const int total = nm.sendQueued(0);
  EXPECT_LT(total, 0);
  EXPECT_GE(total, -3);
  EXPECT_EQ(nm.getConnectionCount(), 1);
  EXPECT_EQ(nm.getQueuedCount(gone), -1);
  EXPECT_EQ(peers[1]->read(2), "ok");
}

TEST_F(NetworkManagerTest, ReceiveReadsDataAndReportsAPeerThatClosed) {
  const int socket = connectPeer(peers, startServer());
  NetListener listener({"tw-network-close"});
  char buffer[16];
  EXPECT_EQ(nm.receive(buffer, sizeof(buffer), socket), 0);  // nothing waiting, no wait
  ASSERT_TRUE(peers[0]->write("abc"));
  int got = 0;
  for (int tries = 0; tries < 400 && got == 0; tries++, usleep(5000)) {
    got = nm.receive(buffer, sizeof(buffer), socket);
  }
  ASSERT_EQ(got, 3);
  EXPECT_EQ(std::string(buffer, 3), "abc");
  EXPECT_EQ(nm.receive(buffer, 0, socket), -1);
  EXPECT_EQ(nm.receive(nullptr, 4, socket), -1);
  EXPECT_EQ(nm.receive(buffer, 4, 9999), -1);

  peers[0]->close();
  for (int tries = 0; tries < 400 && got >= 0; tries++, usleep(5000)) {
    got = nm.receive(buffer, sizeof(buffer), socket);
  }
  EXPECT_EQ(got, -1);
  EXPECT_TRUE(log.contains("NetworkManager::receive(): Note! Socket " + std::to_string(socket) +
                           " closed by peer."));
  EXPECT_EQ(listener.seen.size(), 1u);
  EXPECT_EQ(nm.getConnectionCount(), 0);
}

TEST_F(NetworkManagerTest, ConnectsAsClientToAServer) {
  const int port = startServer();
  EXPECT_EQ(nm.setUpServer("0", "127.0.0.1"), -1);  // already listening
  const int client = nm.connect("127.0.0.1", std::to_string(port));
  ASSERT_GE(client, 0);
  const int served = acceptOne();
  ASSERT_GE(served, 0);
  EXPECT_EQ(nm.getConnectionCount(), 2);
  EXPECT_EQ(nm.send("x", 1, client), 0);
  char byte = 0;
  int got = 0;
  for (int tries = 0; tries < 400 && got == 0; tries++, usleep(5000)) got = nm.receive(&byte, 1, served);
  EXPECT_EQ(got, 1);
  EXPECT_EQ(byte, 'x');

  EXPECT_EQ(nm.closeServer(), 0);
  EXPECT_EQ(nm.connect("127.0.0.1", std::to_string(port)), -1);
  EXPECT_TRUE(log.contains("NetworkManager::connect(): Error! Connecting to 127.0.0.1:" +
                           std::to_string(port) + " failed:"));
  EXPECT_EQ(nm.setUpServer("70000", "127.0.0.1"), -1);
  EXPECT_FALSE(nm.isServer());
  EXPECT_EQ(nm.getServerPort(), -1);
}
