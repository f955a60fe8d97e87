// The opening handshake of a WebSocket connection, server side: collects the
// client's HTTP upgrade request, checks it and makes the answer (101 with the
// accept key, or 400). The key's SHA-1 and Base64 come from nettle.
#pragma once

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

namespace tw {
namespace platform {

// The Sec-WebSocket-Accept value for a client's Sec-WebSocket-Key.
std::string webSocketAcceptKey(const std::string& client_key);

class WebSocketHandshake {
 public:
  enum State { INCOMPLETE, ACCEPTED, REFUSED };

  // A request longer than max_request_bytes is refused.
  explicit WebSocketHandshake(std::size_t max_request_bytes = 8192);

  // Adds bytes read from the client and returns the state. Once the request
  // is complete the state stays; later bytes are kept for the frames.
  State feed(const char* bytes, std::size_t count);
  State getState() const { return state; }
  // What to send the client once the state is ACCEPTED or REFUSED.
  const std::string& getResponse() const { return response; }
  // Why the request was refused ("" otherwise).
  const std::string& getReason() const { return reason; }
  // Bytes that came after the request (frames sent without waiting).
  std::string takeRest();

 private:
  void finish(std::size_t end_of_request);
  std::string check() const;
  void accept();
  void refuse(const std::string& why);
  bool readHeaders(const std::string& head);
  std::string headerValue(const std::string& name) const;

  std::size_t max_request_bytes;
  State state;
  std::string request;  // bytes received so far
  std::vector<std::pair<std::string, std::string>> headers;  // names lower-cased
  std::string response;
  std::string reason;
  std::string rest;
};

}  // namespace platform
}  // namespace tw
