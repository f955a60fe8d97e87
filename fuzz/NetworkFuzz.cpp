// Bytes a peer sends, cut anywhere: each input is a list of pieces, each a
// size byte s and then s + 1 bytes (the last piece may be shorter). A plain
// POSIX client writes the pieces one by one over a real connection on
// 127.0.0.1 to the network manager, which takes whole messages after each
// piece. Whatever the cuts, the manager must deliver exactly the messages a
// plain reading of the whole stream finds, close the connection exactly when
// that reading meets a length over the maximum, and send each delivered
// message back framed the same way.
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/core/Config.h"
#include "engine/network/NetworkManager.h"
#include "fuzz/FuzzSupport.h"

namespace {
const std::uint32_t MAX_MESSAGE = 64;  // small, so that inputs reach both sides of it

tw::NetworkManager& net() { return tw::NetworkManager::getInstance(); }

std::uint32_t lengthAt(const std::string& bytes, std::size_t at) {
  std::uint32_t length = 0;
  for (std::size_t i = 0; i < 4; i++) {
    length |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + i])) << (8 * i);
  }
  return length;
}

std::string framed(const std::string& message) {
  std::string out;
  for (std::size_t i = 0; i < 4; i++) out += static_cast<char>((message.size() >> (8 * i)) & 0xFF);
  return out + message;
}

// What the whole stream holds: its whole messages, and whether a length over
// the maximum follows them.
struct Reading {
  std::vector<std::string> messages;
  bool too_long = false;
};

Reading readWhole(const std::string& stream) {
  Reading reading;
  std::size_t at = 0;
  while (stream.size() - at >= 4) {
    const std::uint32_t length = lengthAt(stream, at);
    if (length > MAX_MESSAGE) {
      reading.too_long = true;
      break;
    }
    if (stream.size() - at - 4 < length) break;
    reading.messages.push_back(stream.substr(at + 4, length));
    at += 4 + length;
  }
  return reading;
}

std::vector<std::string> piecesOf(const std::uint8_t* data, std::size_t size) {
  std::vector<std::string> pieces;
  for (std::size_t at = 0; at < size;) {
    const std::size_t length = std::min<std::size_t>(data[at] + 1u, size - at - 1);
    if (length > 0) pieces.emplace_back(reinterpret_cast<const char*>(data + at + 1), length);
    at += 1 + length;
  }
  return pieces;
}

// libFuzzer's timer interrupts system calls now and then (EINTR): every call
// of the client below is carried on through it.
bool waitFor(int fd, short events) {
  pollfd entry{fd, events, 0};
  int ready = -1;
  do {
    ready = poll(&entry, 1, 2000);
  } while (ready == -1 && errno == EINTR);
  return ready == 1;
}

int connectClient(int port) {
  const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<std::uint16_t>(port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  int result = ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address));
  if (result == -1 && errno == EINTR && waitFor(fd, POLLOUT)) {  // it goes on meanwhile
    socklen_t length = sizeof(result);
    if (getsockopt(fd, SOL_SOCKET, SO_ERROR, &result, &length) == -1) result = -1;
  }
  tw_fuzz::require(fd != -1 && result == 0, "client cannot connect");
  return fd;
}

void sendAll(int fd, const std::string& bytes) {
  for (std::size_t at = 0; at < bytes.size();) {
    const ssize_t sent = ::send(fd, bytes.data() + at, bytes.size() - at, MSG_NOSIGNAL);
    tw_fuzz::require(sent > 0 || (sent == -1 && errno == EINTR), "client cannot write");
    at += sent > 0 ? static_cast<std::size_t>(sent) : 0;
  }
}

int acceptServed() {
  int socket = net().accept();
  for (int tries = 0; socket < 0 && tries < 1000; tries++, socket = net().accept()) usleep(100);
  tw_fuzz::require(socket >= 0, "connection not accepted");
  return socket;
}

// Ends the client with a reset, so that neither end lingers in TIME_WAIT
// through millions of runs.
void abortClient(int fd) {
  const linger abort_on_close{1, 0};
  setsockopt(fd, SOL_SOCKET, SO_LINGER, &abort_on_close, sizeof(abort_on_close));
  ::close(fd);
}

// Takes every whole message waiting; false once the connection is closed.
bool takeAll(int socket, std::vector<std::string>& got) {
  std::string message;
  int result = 0;
  while ((result = net().receiveMessage(message, socket)) == 1) got.push_back(message);
  tw_fuzz::require(result == 0 || net().getConnectionCount() == 0, "-1 from a live connection");
  return result == 0;
}

// The manager sends the messages back; the client must read them framed.
void checkEcho(int client, int socket, const std::vector<std::string>& messages) {
  std::string expected;
  for (const std::string& message : messages) {
    tw_fuzz::require(net().sendMessage(message, socket) == 0, "message not sent");
    expected += framed(message);
  }
  std::string echoed(expected.size(), '\0');
  for (std::size_t at = 0; at < echoed.size();) {
    tw_fuzz::require(waitFor(client, POLLIN), "echo did not arrive");
    const ssize_t got = ::recv(client, &echoed[at], echoed.size() - at, 0);
    tw_fuzz::require(got > 0 || (got == -1 && errno == EINTR), "echo cut short");
    at += got > 0 ? static_cast<std::size_t>(got) : 0;
  }
  tw_fuzz::require(echoed == expected, "echo differs from the messages framed");
}
}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  tw_fuzz::startEngine(false);
  tw::Config::getInstance().loadConfig("max_message_bytes:" + std::to_string(MAX_MESSAGE));
  tw_fuzz::require(net().startUp() == 0, "network manager did not start");
  tw_fuzz::require(net().setUpServer("0", "127.0.0.1") == 0, "cannot listen");
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::vector<std::string> pieces = piecesOf(data, size);
  std::string stream;
  for (const std::string& piece : pieces) stream += piece;
  const Reading whole = readWhole(stream);

  const int client = connectClient(net().getServerPort());
  const int socket = acceptServed();
  std::vector<std::string> got;
  bool open = true;
  for (std::size_t i = 0; open && i < pieces.size(); i++) {
    sendAll(client, pieces[i]);
    tw_fuzz::require(waitFor(socket, POLLIN), "bytes did not arrive");
    open = takeAll(socket, got);
  }
  tw_fuzz::require(got == whole.messages, "messages differ from the whole stream's");
  tw_fuzz::require(open != whole.too_long, "closed when it should not be, or not when it should");
  if (open) checkEcho(client, socket, got);
  abortClient(client);
  if (open) net().close(socket);
  tw_fuzz::require(net().getConnectionCount() == 0, "connection left behind");
  return 0;
}
