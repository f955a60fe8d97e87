// The network manager over real TCP connections on 127.0.0.1 (the far end a
// plain POSIX client, tests/network/LoopbackPeer), and the network events.
#include "engine/network/NetworkManager.h"

#include <gtest/gtest.h>
#include <poll.h>

#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <memory>
#include <string>
#include <vector>

#include "engine/core/EventStep.h"
#include "engine/loop/GameManager.h"
#include "engine/network/EventNetworkAccept.h"
#include "engine/network/EventNetworkClose.h"
#include "engine/platform/Socket.h"
#include "tests/network/LoopbackPeer.h"
#include "tests/support/EngineFixtures.h"

using tw_test::LoopbackPeer;

namespace {
// A whole message as it travels: its length (4 bytes, little-endian), then it.
std::string framed(const std::string& message) {
  const auto n = static_cast<unsigned int>(message.size());
  const char length[] = {static_cast<char>(n), static_cast<char>(n >> 8),
                         static_cast<char>(n >> 16), static_cast<char>(n >> 24)};
  return std::string(length, 4) + message;
}

class NetworkManagerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    alarm(60);                 // a hung socket call ends (and fails) the test
    signal(SIGPIPE, SIG_DFL);  // a raised SIGPIPE would end the test too
    tw::Config::getInstance().reset();
    ASSERT_EQ(nm.startUp(), 0);
  }
  void TearDown() override {
    if (nm.isStarted()) nm.shutDown();
    nm.setMaxConnections(max_connections);  // the manager outlives the test
    tw::Config::getInstance().reset();
    alarm(0);
  }
  // Starts the manager afresh with another max_message_bytes setting.
  void restartWithMaxMessage(int bytes) {
    nm.shutDown();
    tw::Config::getInstance().loadConfig("max_message_bytes:" + std::to_string(bytes));
    ASSERT_EQ(nm.startUp(), 0);
    EXPECT_EQ(nm.getMaxMessageBytes(), bytes);
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
  const int max_connections = nm.getMaxConnections();
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

// At the maximum, a peer that left keeps its place while the game has yet to
// take a message it sent, so the newcomer is refused instead.
TEST_F(NetworkManagerTest, PeerThatLeftKeepsItsPlaceUntilItsMessagesAreTaken) {
  ASSERT_EQ(nm.setMaxConnections(1), 0);
  const int port = startServer();
  const int socket = connectPeer(port);
  ASSERT_GE(socket, 0);
  ASSERT_TRUE(peers[0]->write(framed("one") + framed("two")));
  peers[0]->close();
  std::string message;
  ASSERT_EQ(retry(0, [&] { return nm.receiveMessage(message, socket); }), 1);
  peers.push_back(std::make_unique<LoopbackPeer>(port));
  EXPECT_EQ(nm.acceptPending(), 0);
  EXPECT_TRUE(peers[1]->seesClose());
  ASSERT_EQ(nm.receiveMessage(message, socket), 1);
  EXPECT_EQ(message, "two");
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
  // then only the count at 10, 100, 1000 and at close. The system may still
  // be moving bytes into the peer's buffer (slowly on a busy machine): fill
  // both buffers until a pause frees no more room.
  for (bool took = true; took; usleep(20000)) {
    took = false;
    while (tw::platform::socketSend(socket, huge.data(), 65536) > 0) took = true;
  }
  int blocked = 0;
  // (Room may still open later, when the system compacts the peer's buffer:
  // the bytes that then go through are not counted.)
  for (long tries = 0; tries < 100000000L && blocked < 1000; tries++) {
    blocked += -nm.send("x", 1, socket);
  }
  ASSERT_EQ(blocked, 1000);
  EXPECT_TRUE(nm.isConnected(socket));
  const std::string counted = " sends on socket " + std::to_string(socket) + " would have blocked";
  EXPECT_TRUE(log.contains("NetworkManager::send(): Warning! 10" + counted + " so far."));
  EXPECT_TRUE(log.contains("NetworkManager::send(): Warning! 1000" + counted + " so far."));
  nm.close(socket);
  EXPECT_TRUE(log.contains("NetworkManager::close(): Note! 1000" + counted + " in all."));
  const std::vector<std::string> lines = log.messages();
  const std::string error = "NetworkManager::send(): Error! Return is -1.";
  EXPECT_EQ(std::count(lines.begin(), lines.end(), error), 1);
  EXPECT_LE(lines.size(), 8u);
}

// A flood of peers that connect and reset: the first reset is logged in full,
// the rest only counted, and the total is written when the manager stops.
// Started again, it counts afresh.
TEST_F(NetworkManagerTest, ResetsAreLoggedInFullOnceThenCounted) {
  char buffer[16];
  for (int resets : {12, 1}) {
    if (!nm.isStarted()) {
      ASSERT_EQ(nm.startUp(), 0);
    }
    const int port = startServer();
    for (int i = 0; i < resets; i++) {
      const int socket = connectPeer(port);
      ASSERT_GE(socket, 0);
      peers.back()->close(true);
      EXPECT_EQ(receiveSome(buffer, socket), -1);
      EXPECT_EQ(nm.getConnectionCount(), 0);
    }
    nm.shutDown();
  }
  const std::vector<std::string> lines = log.messages();
  const std::vector<std::string> expected = {
      "Error! Socket", "Connection reset by peer",
      "NetworkManager::receive(): Warning! 10 connections reset by their peer so far.",
      "NetworkManager::shutDown(): Note! 12 connections reset by their peer in all.",
      "Error! Socket", "Connection reset by peer"};
  ASSERT_EQ(lines.size(), expected.size()) << ::testing::PrintToString(lines);
  for (size_t i = 0; i < lines.size(); i++) {
    EXPECT_NE(lines[i].find(expected[i]), std::string::npos) << expected[i];
  }
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
  pollfd reset{first, POLLIN, 0};
  ASSERT_EQ(poll(&reset, 1, 20000), 1);  // the reset has arrived
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

// Every split of the byte stream is met: the peer writes it a byte at a time,
// and the manager takes messages after each byte.
TEST_F(NetworkManagerTest, WholeMessagesArriveWholeHoweverTheBytesAreSplit) {
  restartWithMaxMessage(16);
  const int socket = connectPeer(startServer());
  ASSERT_GE(socket, 0);
  const std::vector<std::string> sent = {"hello", "", std::string(16, 'm'), std::string("a\0b", 3)};
  std::string stream;
  for (const std::string& message : sent) stream += framed(message);
  std::vector<std::string> got;
  std::string message;
  auto take = [&] {
    while (nm.receiveMessage(message, socket) == 1) got.push_back(message);
    return got.size();
  };
  for (char byte : stream) {
    ASSERT_TRUE(peers[0]->write(std::string(1, byte)));
    take();
  }
  EXPECT_EQ(retry(sent.size() - 1, take), sent.size());
  EXPECT_EQ(got, sent);

  // Sending frames the same way, and refuses what is too long whole.
  for (const std::string& each : sent) EXPECT_EQ(nm.sendMessage(each, socket), 0);
  EXPECT_EQ(nm.sendMessage(std::string(17, 'x'), socket), -1);
  EXPECT_EQ(nm.sendMessage(nullptr, 1, socket), -1);
  EXPECT_EQ(nm.sendMessage("x", 1, 9999), -1);
  EXPECT_EQ(peers[0]->read(stream.size() + 1, 200), stream);

  // One byte over the maximum ends the connection, with one line.
  auto closes = listen("tw-network-close");
  ASSERT_TRUE(peers[0]->write(framed(std::string(17, 'o'))));
  EXPECT_EQ(retry(0, [&] { return nm.receiveMessage(message, socket); }), -1);
  EXPECT_EQ(seen, std::vector<int>{socket});
  EXPECT_TRUE(peers[0]->seesClose());
  const std::vector<std::string> lines = log.messages();
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines.back(), "NetworkManager::receiveMessage(): Error! Socket " +
                              std::to_string(socket) +
                              " announced a message of 17 bytes, over max_message_bytes (16). "
                              "Connection closed.");
}

// What the system does not take at once waits, bounded by one whole message;
// the peer, reading at last, finds every accepted message whole and in order.
TEST_F(NetworkManagerTest, SentMessagesStayWholeWhenThePeerStopsReading) {
  const int socket = connectPeer(startServer());
  ASSERT_GE(socket, 0);
  const size_t size = 60000;
  auto numbered = [size](int i) {  // "000042bbbb..."
    const std::string number = std::to_string(1000000 + i).substr(1);
    return number + std::string(size - number.size(), static_cast<char>('a' + i % 26));
  };
  int accepted = 0;
  while (accepted < 1000 && nm.sendMessage(numbered(accepted), socket) == 0) accepted++;
  ASSERT_LT(accepted, 1000);
  EXPECT_EQ(nm.sendMessage(numbered(accepted), socket), -1);
  EXPECT_TRUE(log.contains("NetworkManager::sendMessage(): Error! Socket " +
                           std::to_string(socket) + " is not reading"));

  std::string stream;
  const size_t expected = static_cast<size_t>(accepted) * (size + 4);
  // Gives up only after 500 reads in a row bring nothing: a busy machine
  // may drain the queue slowly, but it drains.
  for (int idle = 0; idle < 500 && stream.size() < expected;) {
    EXPECT_EQ(nm.sendQueued(), 0);
    const std::string more = peers[0]->read(expected - stream.size(), 20);
    idle = more.empty() ? idle + 1 : 0;
    stream += more;
  }
  ASSERT_EQ(stream.size(), expected);
  for (int i = 0; i < accepted; i++) {
    const std::string frame = stream.substr(static_cast<size_t>(i) * (size + 4), size + 4);
    ASSERT_EQ(frame, framed(numbered(i))) << "message " << i;
  }
  EXPECT_EQ(nm.sendMessage("z", 1, socket), 0);
  EXPECT_EQ(peers[0]->read(5), framed("z"));
}

// The five bytes 42 fb ff ff ff announce a message of 4294966082 bytes (once
// framing code added 5 to it in 32 bits, reading never advanced): that
// connection closes with one log line, and the game steps on.
TEST(NetworkMessages, HostileLengthClosesTheConnectionWhileTheGameStepsOn) {
  alarm(20);
  tw_test::ConfiguredEngine engine("frame_time:1,headless:true,networking:true");
  tw::GameManager& game = tw::GameManager::getInstance();
  ASSERT_EQ(game.startUp(), 0);
  tw::NetworkManager& nm = tw::NetworkManager::getInstance();
  ASSERT_EQ(nm.setUpServer("0", "127.0.0.1"), 0);
  LoopbackPeer peer(nm.getServerPort());
  ASSERT_TRUE(peer.write(framed("hi") + std::string("\x42\xfb\xff\xff\xff", 5)));
  int connection = -1, closed_at = -1;
  std::vector<std::string> got;
  auto* host = new tw_test::Probe;  // the world owns it
  host->registerInterest(tw::NETWORK_ACCEPT_EVENT);
  host->registerInterest(tw::STEP_EVENT);
  host->on_event = [&](const tw::Event* p_e) {
    if (p_e->getType() == tw::NETWORK_ACCEPT_EVENT) {
      connection = static_cast<const tw::EventNetwork*>(p_e)->getSocket();
      return;
    }
    const int step = static_cast<const tw::EventStep*>(p_e)->getStepCount();
    std::string message;
    int result = 0;
    while (closed_at < 0 && connection >= 0 &&
           (result = nm.receiveMessage(message, connection)) == 1) {
      got.push_back(message);
    }
    if (result == -1) closed_at = step;
    if (step == 200) game.setGameOver();
  };
  game.run();
  EXPECT_EQ(game.getStepCount(), 201);
  EXPECT_EQ(got, std::vector<std::string>{"hi"});
  EXPECT_GE(closed_at, 1);
  EXPECT_EQ(nm.getConnectionCount(), 0);
  EXPECT_TRUE(peer.seesClose());
  game.shutDown();
  std::vector<std::string> said;  // the network's lines (a busy machine adds the loop's own)
  for (const std::string& line : engine.logLines()) {
    if (line.find("Network") != std::string::npos) said.push_back(tw_test::logMessage(line));
  }
  ASSERT_EQ(said.size(), 1u) << ::testing::PrintToString(said);
  EXPECT_NE(said[0].find("announced a message of 4294966082 bytes"), std::string::npos);
  alarm(0);
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
