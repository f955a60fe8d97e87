// The far end of a WebSocket test connection: a plain POSIX client on
// 127.0.0.1 whose frames wslay makes (masked, as a client's must be), with
// every wait bounded in time. Also sends hand-made bytes for hostile cases.
#pragma once

#include <deque>
#include <string>
#include <utility>

struct wslay_event_context;

namespace tw_test {

// A whole engine message as it travels: length (4 bytes, little-endian), bytes.
std::string framed(const std::string& message);

class WebSocketClient {
 public:
  // A well-formed upgrade request (the sample key of the protocol's definition).
  static std::string goodRequest();
  // Connects to 127.0.0.1:port; with handshake, sends goodRequest() and
  // reads the answer (see upgraded()).
  explicit WebSocketClient(int port, bool handshake = true);
  ~WebSocketClient();
  WebSocketClient(const WebSocketClient&) = delete;
  WebSocketClient& operator=(const WebSocketClient&) = delete;

  bool connected() const { return fd != -1; }
  // True when the server answered 101 with the right accept key.
  bool upgraded() const { return is_upgraded; }
  // Sends request and reads the server's answer (up to its blank line).
  std::string handshake(const std::string& request, int timeout_ms = 5000);
  // Sends bytes as one binary message.
  bool sendBinary(const std::string& bytes);
  bool sendMessage(const std::string& message) { return sendBinary(framed(message)); }
  // Writes bytes as they are, below the WebSocket framing.
  bool writeRaw(const std::string& bytes);
  // Waits for the next WebSocket message as it came (text or binary);
  // false on timeout or close.
  bool receiveWhole(std::string& payload, bool& text, int timeout_ms = 5000);
  // Waits for the next whole engine message; false on timeout or close.
  bool receiveMessage(std::string& message, int timeout_ms = 5000);
  // True when the server ended the connection within timeout_ms; the close
  // code it sent (0 without a close frame) goes to close_code.
  bool seesClose(int timeout_ms = 5000);
  int closeCode() const { return close_code; }
  void close();

 private:
  friend struct ClientCallbacks;
  bool pump(int timeout_ms);  // reads frames; false when nothing came in time

  int fd = -1;
  bool is_upgraded = false;
  bool ended = false;
  int close_code = 0;
  wslay_event_context* context = nullptr;
  std::string received;  // payload bytes not yet taken as messages
  std::deque<std::pair<bool, std::string>> whole;  // messages as they came, text or not
};

}  // namespace tw_test
