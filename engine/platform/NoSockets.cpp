// Sockets in a browser page: a page cannot open TCP connections, so the
// socket library does not start and every call fails with a code whose text
// says so. The network manager's start-up logs that text.
#include "engine/platform/Socket.h"

#include <cerrno>

namespace tw {
namespace platform {

namespace {
const int NO_TCP = ENOSYS;
}

bool socketsExist() { return false; }
int socketStartUp() { return -1; }
int socketCleanUp() { return 0; }
int socketLastError() { return NO_TCP; }
void socketSetLastError(int) {}
bool socketWouldBlock(int) { return false; }
bool socketPeerGone(int) { return true; }
std::string socketErrorText(int code) {
  return code == NO_TCP ? "a browser page cannot open TCP connections" : "";
}
int socketListen(const std::string&, const std::string&) { return NO_SOCKET; }
int socketConnect(const std::string&, const std::string&, int) { return NO_SOCKET; }
int socketAccept(int) { return NO_SOCKET; }
int socketLocalPort(int) { return -1; }
long socketSend(int, const void*, std::size_t) { return -1; }
long socketReceive(int, void*, std::size_t) { return -1; }
bool socketPeerClosed(int) { return true; }
int socketClose(int) { return -1; }
int socketSetNonBlocking(int, bool) { return -1; }

}  // namespace platform
}  // namespace tw
