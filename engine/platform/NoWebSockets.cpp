// WebSocket servers in a browser page: a page listens for nobody, so no
// request is ever accepted and no stream carries anything.
#include <cerrno>

#include "engine/platform/Socket.h"
#include "engine/platform/WebSocketHandshake.h"
#include "engine/platform/WebSocketStream.h"

namespace tw {
namespace platform {

std::string webSocketAcceptKey(const std::string&) { return ""; }

WebSocketHandshake::WebSocketHandshake(std::size_t new_max_request_bytes)
    : max_request_bytes(new_max_request_bytes), state(REFUSED) {}
WebSocketHandshake::State WebSocketHandshake::feed(const char*, std::size_t) { return state; }
std::string WebSocketHandshake::takeRest() { return ""; }

WebSocketStream::WebSocketStream(int new_socket, bool, std::size_t)
    : socket(new_socket), context(nullptr), ended(true), socket_error(ENOSYS) {}
WebSocketStream::~WebSocketStream() = default;
void WebSocketStream::addReceived(const std::string&) {}
long WebSocketStream::send(const void*, std::size_t, bool) {
  socketSetLastError(ENOSYS);
  return -1;
}
int WebSocketStream::flush() { return -1; }
void WebSocketStream::limitSystemBuffer(int) {}
long WebSocketStream::receive(void*, std::size_t) {
  socketSetLastError(ENOSYS);
  return -1;
}
int WebSocketStream::getFaultCode() const { return 0; }

}  // namespace platform
}  // namespace tw
