// The parts of the sockets that differ on a native host: it may listen, a
// connect is waited for with poll(), and a closed peer is seen by peeking.
#include <poll.h>
#include <sys/socket.h>

#include <cerrno>
#include <chrono>

#include "engine/platform/Socket.h"

namespace tw {
namespace platform {

bool socketsListen() { return true; }

int socketWaitConnected(int socket, int timeout_ms) {
  using Clock = std::chrono::steady_clock;
  const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeout_ms);
  pollfd entry{socket, POLLOUT, 0};
  for (;;) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    const int ready = poll(&entry, 1, left.count() > 0 ? static_cast<int>(left.count()) : 0);
    if (ready == -1 && errno == EINTR) continue;
    if (ready == -1) return socketFail(errno);
    if (ready == 0) return socketFail(ETIMEDOUT);
    break;
  }
  int code = 0;
  socklen_t length = sizeof(code);
  if (getsockopt(socket, SOL_SOCKET, SO_ERROR, &code, &length) == -1) return socketFail(errno);
  return code == 0 ? 0 : socketFail(code);
}

bool socketPeerClosed(int socket) {
  char byte = 0;
  ssize_t got = -1;
  do {
    got = ::recv(socket, &byte, 1, MSG_PEEK | MSG_DONTWAIT);
  } while (got == -1 && errno == EINTR);
  return got == 0 || (got == -1 && errno != EAGAIN && errno != EWOULDBLOCK);
}

}  // namespace platform
}  // namespace tw
