// The socket layer over real TCP connections on 127.0.0.1: listening,
// accepting and connecting without blocking, a vanished peer, and refusals.
#include "engine/platform/Socket.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <functional>
#include <utility>

#include "tests/network/LoopbackPeer.h"

using namespace tw::platform;

// Repeats call every 5 ms, for about two seconds, until done(result) holds.
static long within(const std::function<long()>& call, const std::function<bool(long)>& done) {
  long result = call();
  for (int tries = 0; tries < 400 && !done(result); tries++, usleep(5000)) result = call();
  return result;
}
static int acceptWithin(int server) {
  const auto accepted = [](long socket) { return socket != NO_SOCKET; };
  return static_cast<int>(within([=] { return socketAccept(server); }, accepted));
}
static bool nonBlocking(int socket) { return (fcntl(socket, F_GETFL) & O_NONBLOCK) != 0; }

class SocketTest : public ::testing::Test {
 protected:
  // A hung socket call ends the test (and fails it) instead of stalling the run.
  void SetUp() override {
    alarm(20);
    server = socketListen("127.0.0.1", "0");
    ASSERT_NE(server, NO_SOCKET);
    ASSERT_GT(socketLocalPort(server), 0);
  }
  void TearDown() override {
    socketClose(server);
    alarm(0);
  }
  int server = NO_SOCKET;
};

// Accept and receive report "would block" when nothing is there; every
// socket made is non-blocking. (The network manager tests exchange more.)
TEST_F(SocketTest, ListenerAcceptsAndConnectsToRealPeersWithoutWaiting) {
  EXPECT_EQ(socketAccept(server), NO_SOCKET);
  EXPECT_TRUE(socketWouldBlock(socketLastError()));
  tw_test::LoopbackPeer peer(socketLocalPort(server));
  ASSERT_TRUE(peer.connected());
  const int connection = acceptWithin(server);
  ASSERT_NE(connection, NO_SOCKET);
  EXPECT_TRUE(nonBlocking(connection));
  char got[5] = {};
  EXPECT_EQ(socketReceive(connection, got, 1), -1);
  EXPECT_TRUE(socketWouldBlock(socketLastError()));
  ASSERT_TRUE(peer.write("ping"));
  EXPECT_EQ(within([&] { return socketReceive(connection, got, 4); }, [](long n) { return n != -1; }), 4);
  EXPECT_STREQ(got, "ping");
  EXPECT_EQ(socketClose(connection), 0);
  const int client = socketConnect("127.0.0.1", std::to_string(socketLocalPort(server)), 2000);
  EXPECT_TRUE(client != NO_SOCKET && nonBlocking(client));
  socketClose(client);
}

TEST_F(SocketTest, VanishedPeerShowsAsEndOfStreamAndSendErrorNotSigpipe) {
  signal(SIGPIPE, SIG_DFL);  // a raised SIGPIPE would end this test process
  tw_test::LoopbackPeer peer(socketLocalPort(server));
  const int connection = acceptWithin(server);
  ASSERT_NE(connection, NO_SOCKET);
  peer.close();
  char byte;
  EXPECT_EQ(within([&] { return socketReceive(connection, &byte, 1); }, [](long n) { return n != -1; }), 0);
  ASSERT_EQ(within([&] { return socketSend(connection, "x", 1); }, [](long n) { return n == -1; }), -1);
  EXPECT_TRUE(socketPeerGone(socketLastError())) << socketLastError();
  socketClose(connection);
}

TEST_F(SocketTest, BadCallsFailWithTheirError) {
  const std::string port = std::to_string(socketLocalPort(server));
  socketClose(std::exchange(server, NO_SOCKET));
  EXPECT_EQ(socketConnect("127.0.0.1", port, 2000), NO_SOCKET);  // nobody listens now
  EXPECT_EQ(socketLastError(), ECONNREFUSED);
  for (const char* bad : {"70000", "abc", "-1", ""}) {
    EXPECT_EQ(socketListen("127.0.0.1", bad), NO_SOCKET) << bad;
    EXPECT_EQ(socketLastError(), EINVAL) << bad;
  }
  EXPECT_EQ(socketConnect("127.0.0.1", "0", 100), NO_SOCKET);
  EXPECT_EQ(socketClose(-1), -1);
  EXPECT_EQ(socketLastError(), EBADF);
  EXPECT_EQ(socketErrorText(EPIPE) + socketErrorText(0), std::strerror(EPIPE));
}
