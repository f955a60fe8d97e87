#include "engine/platform/Socket.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <string>

#include "tests/network/LoopbackPeer.h"

using namespace tw::platform;
using tw_test::LoopbackPeer;

namespace {
// Accepts the next connection, trying for at most about two seconds.
int acceptWithin(int listening_socket) {
  for (int tries = 0; tries < 400; tries++) {
    const int socket = socketAccept(listening_socket);
    if (socket != NO_SOCKET) return socket;
    usleep(5000);
  }
  return NO_SOCKET;
}

std::string receiveWithin(int socket, size_t bytes) {
  std::string got;
  char buffer[64];
  for (int tries = 0; tries < 400 && got.size() < bytes; tries++) {
    const long n = socketReceive(socket, buffer, sizeof(buffer));
    if (n > 0) got.append(buffer, static_cast<size_t>(n));
    if (n <= 0) usleep(5000);
  }
  return got;
}

class SocketTest : public ::testing::Test {
 protected:
  // A hung socket call ends the test (and fails it) instead of stalling the run.
  void SetUp() override { alarm(20); }
  void TearDown() override { alarm(0); }
};
}  // namespace

TEST_F(SocketTest, EphemeralListenerAcceptsRealClientWithoutWaiting) {
  const int server = socketListen("127.0.0.1", "0");
  ASSERT_NE(server, NO_SOCKET);
  const int port = socketLocalPort(server);
  ASSERT_GT(port, 0);
  EXPECT_EQ(socketAccept(server), NO_SOCKET);
  EXPECT_TRUE(socketWouldBlock(socketLastError()));

  LoopbackPeer peer(port);
  ASSERT_TRUE(peer.connected());
  const int connection = acceptWithin(server);
  ASSERT_NE(connection, NO_SOCKET);
  EXPECT_NE(fcntl(connection, F_GETFL) & O_NONBLOCK, 0);
  char byte;
  EXPECT_EQ(socketReceive(connection, &byte, 1), -1);
  EXPECT_TRUE(socketWouldBlock(socketLastError()));

  ASSERT_TRUE(peer.write("ping"));
  EXPECT_EQ(receiveWithin(connection, 4), "ping");
  EXPECT_EQ(socketSend(connection, "pong", 4), 4);
  EXPECT_EQ(peer.read(4), "pong");
  EXPECT_EQ(socketClose(connection), 0);
  EXPECT_TRUE(peer.seesClose());
  EXPECT_EQ(socketClose(server), 0);
}

TEST_F(SocketTest, VanishedPeerShowsAsEndOfStreamAndSendErrorNotSigpipe) {
  signal(SIGPIPE, SIG_DFL);  // a raised SIGPIPE would end this test process
  const int server = socketListen("127.0.0.1", "0");
  ASSERT_NE(server, NO_SOCKET);
  LoopbackPeer peer(socketLocalPort(server));
  const int connection = acceptWithin(server);
  ASSERT_NE(connection, NO_SOCKET);
  peer.close();

  char byte;
  long received = -1;
  for (int tries = 0; tries < 400 && received == -1; tries++, usleep(5000)) {
    received = socketReceive(connection, &byte, 1);
  }
  EXPECT_EQ(received, 0);
  long sent = 0;
  for (int tries = 0; tries < 100 && sent != -1; tries++, usleep(5000)) {
    sent = socketSend(connection, "x", 1);
  }
  ASSERT_EQ(sent, -1);
  EXPECT_TRUE(socketPeerGone(socketLastError())) << socketLastError();
  socketClose(connection);
  socketClose(server);
}

TEST_F(SocketTest, ConnectReachesListenerAndFailsCleanlyOtherwise) {
  const int server = socketListen("127.0.0.1", "0");
  ASSERT_NE(server, NO_SOCKET);
  const std::string port = std::to_string(socketLocalPort(server));
  const int client = socketConnect("127.0.0.1", port, 2000);
  ASSERT_NE(client, NO_SOCKET);
  EXPECT_NE(fcntl(client, F_GETFL) & O_NONBLOCK, 0);
  const int connection = acceptWithin(server);
  ASSERT_NE(connection, NO_SOCKET);
  EXPECT_EQ(socketSend(client, "hi", 2), 2);
  EXPECT_EQ(receiveWithin(connection, 2), "hi");
  socketClose(client);
  socketClose(connection);
  socketClose(server);

  // Nobody listens on the port any more.
  EXPECT_EQ(socketConnect("127.0.0.1", port, 2000), NO_SOCKET);
  EXPECT_EQ(socketLastError(), ECONNREFUSED);
  for (const char* bad : {"70000", "abc", "-1", ""}) {
    EXPECT_EQ(socketListen("127.0.0.1", bad), NO_SOCKET) << bad;
    EXPECT_EQ(socketLastError(), EINVAL) << bad;
  }
  EXPECT_EQ(socketConnect("127.0.0.1", "0", 100), NO_SOCKET);
  EXPECT_EQ(socketClose(-1), -1);
  EXPECT_EQ(socketLastError(), EBADF);
}

TEST(Socket, ErrorTextIsTheSystemsOrEmpty) {
  EXPECT_EQ(socketErrorText(EPIPE), std::string(std::strerror(EPIPE)));
  EXPECT_FALSE(socketErrorText(ECONNRESET).empty());
  EXPECT_EQ(socketErrorText(0), "");
  EXPECT_EQ(socketErrorText(987654), "");
  EXPECT_EQ(socketStartUp(), 0);
  EXPECT_EQ(socketCleanUp(), 0);
}
