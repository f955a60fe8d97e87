#include "tests/network/LoopbackPeer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace tw_test {

LoopbackPeer::LoopbackPeer(int port) : fd(::socket(AF_INET, SOCK_STREAM, 0)) {
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<uint16_t>(port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (fd != -1 && ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)) == -1) {
    ::close(fd);
    fd = -1;
  }
}

LoopbackPeer::~LoopbackPeer() { close(); }

std::string LoopbackPeer::read(size_t bytes, int timeout_ms) {
  std::string got;
  char buffer[4096];
  pollfd entry{fd, POLLIN, 0};
  while (fd != -1 && got.size() < bytes && poll(&entry, 1, timeout_ms) == 1) {
    const size_t want = bytes - got.size() < sizeof(buffer) ? bytes - got.size() : sizeof(buffer);
    const ssize_t n = ::recv(fd, buffer, want, 0);
    if (n <= 0) break;
    got.append(buffer, static_cast<size_t>(n));
  }
  return got;
}

bool LoopbackPeer::seesClose(int timeout_ms) {
  char byte;
  pollfd entry{fd, POLLIN, 0};
  return fd != -1 && poll(&entry, 1, timeout_ms) == 1 && ::recv(fd, &byte, 1, MSG_DONTWAIT) <= 0;
}

bool LoopbackPeer::write(const std::string& data) {
  return fd != -1 && ::send(fd, data.data(), data.size(), MSG_NOSIGNAL) ==
                         static_cast<ssize_t>(data.size());
}

void LoopbackPeer::close(bool reset) {
  if (fd == -1) return;
  if (reset) {
    const linger abort_on_close{1, 0};
    setsockopt(fd, SOL_SOCKET, SO_LINGER, &abort_on_close, sizeof(abort_on_close));
  }
  ::close(fd);
  fd = -1;
}

}  // namespace tw_test
