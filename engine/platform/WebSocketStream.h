// A byte stream carried over an open WebSocket connection (after the
// handshake): bytes sent go out as binary messages, the payloads of messages
// received come in as bytes. The framing, masking and control frames are
// wslay's; the socket is the caller's, which closes it.
#pragma once

#include <cstddef>
#include <string>

struct wslay_event_context;

namespace tw {
namespace platform {

class WebSocketStream {
 public:
  // server: this side accepted the connection (a client masks its frames).
  // A message longer than max_message_bytes ends the connection.
  WebSocketStream(int socket, bool server, std::size_t max_message_bytes);
  ~WebSocketStream();
  WebSocketStream(const WebSocketStream&) = delete;
  WebSocketStream& operator=(const WebSocketStream&) = delete;

  // Bytes that arrived before the stream was made (right after the handshake).
  void addReceived(const std::string& bytes);
  // Sends bytes as one binary message (a text one, UTF-8, with text): bytes
  // when taken, -1 otherwise (a would-block code in socketLastError() while
  // an earlier message still waits for the system, so at most one waits).
  long send(const void* buffer, std::size_t bytes, bool text = false);
  // Hands the system what waits; -1 when the connection failed.
  int flush();
  // Payload bytes received (up to bytes), 0 once the connection has ended
  // (closed by the peer, or for a bad frame), -1 with a would-block code in
  // socketLastError() when nothing is waiting, or -1 on a socket error.
  long receive(void* buffer, std::size_t bytes);
  // The close code sent to a peer that broke the protocol (1002 a protocol
  // fault, 1009 a message too long ...); 0 when there was no fault.
  int getFaultCode() const;
  // Caps what the system holds for this connection's peer, unread: a peer
  // that stops reading then stops taking messages after about that many
  // bytes (the system's own buffer would otherwise grow to megabytes).
  void limitSystemBuffer(int bytes);
  // Bytes of a message sent that the system has not taken yet.
  std::size_t getWaitingBytes() const { return outgoing.size(); }
  // Payload bytes read from the socket since the stream was made.
  std::size_t getReadBytes() const { return read_bytes; }

 private:
  // wslay's callbacks, which reach the members below (defined in the source).
  friend struct WebSocketCallbacks;

  long readSocket(unsigned char* buffer, std::size_t length);
  long writeSocket(const unsigned char* data, std::size_t length, bool more);
  int writeOutgoing();
  void readFrames();
  long handOut(void* buffer, std::size_t bytes);

  int socket;  // not owned
  wslay_event_context* context;
  std::string pending_input;  // bytes that came with the handshake, read first
  std::string inbox;  // payload bytes not yet handed out
  std::string outgoing;  // one frame's bytes the system has not taken yet
  std::size_t inbox_start = 0;
  std::size_t read_budget = 0;  // socket bytes this receive may still read
  std::size_t read_bytes = 0;
  bool ended = false;  // end of stream, reset, or a fault
  int socket_error = 0;  // a socket error other than would-block, kept for the caller
};

}  // namespace platform
}  // namespace tw
