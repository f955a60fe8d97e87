// The WebSocket side of a server: a second listening socket whose clients
// open with an HTTP upgrade handshake. Owns that socket and the connections
// still in their handshake; hands the network manager each one that
// completed it, as a socket with its WebSocket stream.
#pragma once

#include <chrono>
#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "engine/platform/WebSocketHandshake.h"
#include "engine/platform/WebSocketStream.h"

namespace tw {

const int MAX_PENDING_HANDSHAKES = 64;    // connections in their handshake at once (oldest go first)
const int HANDSHAKE_TIMEOUT_MS = 5000;    // longest a client may take to send its request

class WebSocketListener {
 public:
  struct Peer {
    int socket;
    std::unique_ptr<platform::WebSocketStream> stream;
  };

  WebSocketListener() = default;
  // Closes the listening socket and every unfinished handshake, quietly.
  ~WebSocketListener();
  WebSocketListener(const WebSocketListener&) = delete;
  WebSocketListener& operator=(const WebSocketListener&) = delete;

  // Listens on port at host (as NetworkManager::setUpServer). 0 or -1, with
  // the socket error in platform::socketLastError().
  int listen(const std::string& host, const std::string& port);
  int getPort() const;
  int getPendingCount() const { return static_cast<int>(pending.size()); }

  // Takes waiting connections and reads their requests. A complete, good
  // request is answered 101 and appended to ready while room lasts (then
  // answered 503 and closed); a bad, late or abandoned one is answered 400
  // or just closed. Each stream refuses messages over max_message_bytes.
  void poll(int room, std::vector<Peer>& ready, std::size_t max_message_bytes);

 private:
  struct Handshake {
    int socket;
    platform::WebSocketHandshake request;
    std::chrono::steady_clock::time_point since;
  };

  void acceptWaiting();
  // True when the handshake ended (answered or dropped) and leaves the list.
  bool advance(Handshake& handshake, int& room, std::vector<Peer>& ready,
               std::size_t max_message_bytes);
  bool readRequest(Handshake& handshake);
  void answer(Handshake& handshake, int& room, std::vector<Peer>& ready,
              std::size_t max_message_bytes);
  void drop(int socket, const std::string& reply);

  int listening_socket = -1;
  std::vector<Handshake> pending;
};

}  // namespace tw
