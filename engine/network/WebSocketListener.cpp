#include "engine/network/WebSocketListener.h"

#include <algorithm>

#include "engine/core/LogManager.h"
#include "engine/core/RepeatedLog.h"
#include "engine/platform/Socket.h"

namespace tw {

namespace {
const std::size_t REQUEST_CHUNK = 2048;  // request bytes read per connection per poll
const char* const BUSY =
    "HTTP/1.1 503 Service Unavailable\r\nConnection: close\r\nContent-Length: 0\r\n\r\n";

// Clients that send bad requests, or none, over and over would fill the log.
RepeatedLog& refusedHandshakes() {
  static RepeatedLog counter("WebSocket handshakes refused");
  return counter;
}

void logRefusal(int socket, const std::string& why) {
  if (refusedHandshakes().count("NetworkManager::accept()")) {
    LogManager::getInstance().writeLog(
        "NetworkManager::accept(): Warning! WebSocket handshake on socket %d refused: %s.", socket,
        why.c_str());
  }
}
}  // namespace

WebSocketListener::~WebSocketListener() {
  for (const Handshake& handshake : pending) platform::socketClose(handshake.socket);
  if (listening_socket != -1) platform::socketClose(listening_socket);
}

int WebSocketListener::listen(const std::string& host, const std::string& port) {
  listening_socket = platform::socketListen(host, port);
  return listening_socket == platform::NO_SOCKET ? -1 : 0;
}

int WebSocketListener::getPort() const { return platform::socketLocalPort(listening_socket); }

void WebSocketListener::poll(int room, std::vector<Peer>& ready, std::size_t max_message_bytes) {
  acceptWaiting();
  pending.erase(std::remove_if(pending.begin(), pending.end(),
                               [&](Handshake& handshake) {
                                 return advance(handshake, room, ready, max_message_bytes);
                               }),
                pending.end());
}

// Takes every waiting connection. With MAX_PENDING_HANDSHAKES already in
// their handshake, the oldest is dropped for the newcomer: a crowd that
// connects and never speaks costs a bounded list and cannot lock out a client
// that does speak.
void WebSocketListener::acceptWaiting() {
  for (;;) {
    const int socket = platform::socketAccept(listening_socket);
    if (socket == platform::NO_SOCKET) return;
    if (getPendingCount() >= MAX_PENDING_HANDSHAKES) {
      logRefusal(pending.front().socket, "too many handshakes at once");
      drop(pending.front().socket, "");
      pending.erase(pending.begin());
    }
    pending.push_back(Handshake{socket, platform::WebSocketHandshake(),
                                std::chrono::steady_clock::now()});
  }
}

bool WebSocketListener::advance(Handshake& handshake, int& room, std::vector<Peer>& ready,
                                std::size_t max_message_bytes) {
  if (!readRequest(handshake)) {
    drop(handshake.socket, "");  // the client left, or its socket failed
    return true;
  }
  if (handshake.request.getState() != platform::WebSocketHandshake::INCOMPLETE) {
    answer(handshake, room, ready, max_message_bytes);
    return true;
  }
  const auto waited = std::chrono::steady_clock::now() - handshake.since;
  if (waited < std::chrono::milliseconds(HANDSHAKE_TIMEOUT_MS)) return false;
  logRefusal(handshake.socket, "no request in time");
  drop(handshake.socket, "");
  return true;
}

// Feeds what the client sent; false when the connection is gone.
bool WebSocketListener::readRequest(Handshake& handshake) {
  char chunk[REQUEST_CHUNK];
  const long got = platform::socketReceive(handshake.socket, chunk, sizeof(chunk));
  if (got > 0) {
    handshake.request.feed(chunk, static_cast<std::size_t>(got));
    return true;
  }
  return got == -1 && platform::socketWouldBlock(platform::socketLastError());
}

void WebSocketListener::answer(Handshake& handshake, int& room, std::vector<Peer>& ready,
                               std::size_t max_message_bytes) {
  platform::WebSocketHandshake& request = handshake.request;
  if (request.getState() == platform::WebSocketHandshake::REFUSED) {
    logRefusal(handshake.socket, request.getReason());
    drop(handshake.socket, request.getResponse());
    return;
  }
  if (room <= 0) {
    logRefusal(handshake.socket, "already at max connections");
    drop(handshake.socket, BUSY);
    return;
  }
  const std::string& reply = request.getResponse();
  if (platform::socketSend(handshake.socket, reply.data(), reply.size()) !=
      static_cast<long>(reply.size())) {
    drop(handshake.socket, "");  // a fresh socket takes a few hundred bytes, or is gone
    return;
  }
  auto stream = std::make_unique<platform::WebSocketStream>(handshake.socket, true,
                                                            max_message_bytes);
  stream->addReceived(request.takeRest());
  ready.push_back(Peer{handshake.socket, std::move(stream)});
  room--;
}

void WebSocketListener::drop(int socket, const std::string& reply) {
  if (!reply.empty()) platform::socketSend(socket, reply.data(), reply.size());
  platform::socketClose(socket);
}

}  // namespace tw
