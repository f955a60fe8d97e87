// The parts of the sockets that differ in a browser page. Emscripten's socket
// layer carries each connection over a WebSocket to ws://HOST:PORT (asking
// for the "binary" subprotocol), so the engine's POSIX socket code serves the
// page unchanged and the host sees the byte stream a TCP peer sends. (The
// other road, emscripten/websocket.h, would need a second stream of our own
// with its own buffering and errors.) A page cannot listen; a connect answers
// EINPROGRESS at once and the WebSocket opens while the page runs, so the
// wait sleeps through Asyncify rather than blocking in poll(), which in a
// page never waits.
#include <emscripten.h>
#include <poll.h>
#include <sys/socket.h>

#include <cerrno>

#include "engine/platform/Socket.h"

namespace tw {
namespace platform {

namespace {
const int CONNECT_CHECK_MS = 5;  // how often a pending connect is looked at

// POLLOUT once the WebSocket is open, POLLHUP once it failed or closed.
short pollNow(int socket) {
  pollfd entry{socket, POLLOUT | POLLIN, 0};
  return poll(&entry, 1, 0) == 1 ? entry.revents : 0;
}
}  // namespace

bool socketsListen() { return false; }

int socketWaitConnected(int socket, int timeout_ms) {
  const double deadline = emscripten_get_now() + timeout_ms;
  short events = pollNow(socket);
  while ((events & (POLLOUT | POLLHUP | POLLERR)) == 0) {
    if (emscripten_get_now() >= deadline) return socketFail(ETIMEDOUT);
    emscripten_sleep(CONNECT_CHECK_MS);
    events = pollNow(socket);
  }
  int code = 0;
  socklen_t length = sizeof(code);
  getsockopt(socket, SOL_SOCKET, SO_ERROR, &code, &length);
  // A WebSocket that closed before it opened says only that it is closed.
  if (code == 0 && (events & POLLOUT) == 0) code = ECONNREFUSED;
  return code == 0 ? 0 : socketFail(code);
}

// The page's recv() cannot peek (it ignores MSG_PEEK and would take the
// byte), so a closed peer is seen from the WebSocket's state instead.
bool socketPeerClosed(int socket) { return (pollNow(socket) & POLLHUP) != 0; }

}  // namespace platform
}  // namespace tw
