#include "engine/platform/WebSocketStream.h"

#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <wslay/wslay.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <random>

#include "engine/platform/Socket.h"

namespace tw {
namespace platform {

namespace {
const std::size_t READ_BUDGET = 64 * 1024;  // socket bytes one receive reads at most
// Frames waiting to go out (wslay answers each ping with a pong): a peer that
// pings without reading the answers is cut off past this many.
const std::size_t MAX_QUEUED_FRAMES = 64;

WebSocketStream& streamOf(void* user_data) { return *static_cast<WebSocketStream*>(user_data); }
}  // namespace

struct WebSocketCallbacks {
  static ssize_t read(wslay_event_context_ptr ctx, std::uint8_t* buffer, std::size_t length,
                      int, void* user_data) {
    const long got = streamOf(user_data).readSocket(buffer, length);
    if (got < 0) wslay_event_set_error(ctx, static_cast<int>(got));
    return got < 0 ? -1 : got;
  }
  static ssize_t write(wslay_event_context_ptr ctx, const std::uint8_t* data, std::size_t length,
                       int flags, void* user_data) {
    const long sent =
        streamOf(user_data).writeSocket(data, length, (flags & WSLAY_MSG_MORE) != 0);
    if (sent < 0) wslay_event_set_error(ctx, static_cast<int>(sent));
    return sent < 0 ? -1 : sent;
  }
  static int mask(wslay_event_context_ptr, std::uint8_t* buffer, std::size_t length, void*) {
    thread_local std::mt19937 generator{std::random_device{}()};
    for (std::size_t i = 0; i < length; i++) buffer[i] = static_cast<std::uint8_t>(generator());
    return 0;
  }
  // Binary and text payloads both count as bytes; control frames are wslay's.
  static void message(wslay_event_context_ptr, const wslay_event_on_msg_recv_arg* arg,
                      void* user_data) {
    if (arg->opcode != WSLAY_BINARY_FRAME && arg->opcode != WSLAY_TEXT_FRAME) return;
    streamOf(user_data).inbox.append(reinterpret_cast<const char*>(arg->msg), arg->msg_length);
  }
};

WebSocketStream::WebSocketStream(int new_socket, bool server, std::size_t max_message_bytes)
    : socket(new_socket), context(nullptr) {
  const wslay_event_callbacks callbacks = {
      WebSocketCallbacks::read, WebSocketCallbacks::write, WebSocketCallbacks::mask, nullptr,
      nullptr,                  nullptr,                   WebSocketCallbacks::message};
  const int made = server ? wslay_event_context_server_init(&context, &callbacks, this)
                          : wslay_event_context_client_init(&context, &callbacks, this);
  if (made != 0) {
    context = nullptr;
    ended = true;
    socket_error = ENOMEM;
    return;
  }
  wslay_event_config_set_max_recv_msg_length(context, max_message_bytes);
  // A frame goes out in one write (writeSocket), and at once.
  const int on = 1;
  setsockopt(socket, IPPROTO_TCP, TCP_NODELAY, &on, sizeof(on));
}

WebSocketStream::~WebSocketStream() {
  if (context != nullptr) wslay_event_context_free(context);
}

void WebSocketStream::limitSystemBuffer(int bytes) {
  setsockopt(socket, SOL_SOCKET, SO_SNDBUF, &bytes, sizeof(bytes));
}

void WebSocketStream::addReceived(const std::string& bytes) { pending_input += bytes; }

// Reads for wslay: first what came with the handshake, then the socket, at
// most READ_BUDGET bytes per receive so that a flooding peer cannot make one
// call read without end.
long WebSocketStream::readSocket(unsigned char* buffer, std::size_t length) {
  if (!pending_input.empty()) {
    const std::size_t taken = std::min(length, pending_input.size());
    std::memcpy(buffer, pending_input.data(), taken);
    pending_input.erase(0, taken);
    return static_cast<long>(taken);
  }
  if (read_budget == 0) return WSLAY_ERR_WOULDBLOCK;
  const long got = socketReceive(socket, buffer, std::min(length, read_budget));
  if (got > 0) {
    read_budget -= static_cast<std::size_t>(got);
    read_bytes += static_cast<std::size_t>(got);
    return got;
  }
  if (got == -1 && socketWouldBlock(socketLastError())) return WSLAY_ERR_WOULDBLOCK;
  if (got == -1) socket_error = socketLastError();
  ended = true;  // end of stream or a lost connection
  return WSLAY_ERR_CALLBACK_FAILURE;
}

// wslay hands a frame's header and payload over apart (more is set for all
// but the last piece): they are gathered and written together, one packet
// rather than two. What the system does not take waits in outgoing, and
// no other frame is made until it is gone.
long WebSocketStream::writeSocket(const unsigned char* data, std::size_t length, bool more) {
  if (!outgoing.empty() && !more && writeOutgoing() == -1) return WSLAY_ERR_CALLBACK_FAILURE;
  if (!outgoing.empty() && !more) return WSLAY_ERR_WOULDBLOCK;
  outgoing.append(reinterpret_cast<const char*>(data), length);
  if (!more && writeOutgoing() == -1) return WSLAY_ERR_CALLBACK_FAILURE;
  return static_cast<long>(length);
}

// Writes what it can of outgoing: 0, or -1 when the connection failed.
int WebSocketStream::writeOutgoing() {
  const long sent = socketSend(socket, outgoing.data(), outgoing.size());
  if (sent >= 0) {
    outgoing.erase(0, static_cast<std::size_t>(sent));
    return 0;
  }
  if (socketWouldBlock(socketLastError())) return 0;
  socket_error = socketLastError();
  ended = true;
  return -1;
}

int WebSocketStream::flush() {
  if (context == nullptr || socket_error != 0) return socket_error != 0 ? -1 : 0;
  if (!outgoing.empty() && (writeOutgoing() == -1 || !outgoing.empty())) {
    return socket_error != 0 ? -1 : 0;
  }
  if (wslay_event_send(context) != 0) ended = true;
  return socket_error != 0 ? -1 : 0;
}

long WebSocketStream::send(const void* buffer, std::size_t bytes, bool text) {
  if (flush() == -1 || ended || wslay_event_get_close_sent(context)) {
    socketSetLastError(socket_error != 0 ? socket_error : EPIPE);
    return -1;
  }
  if (wslay_event_want_write(context) || !outgoing.empty()) {
    socketSetLastError(EAGAIN);  // the earlier message still waits
    return -1;
  }
  const std::uint8_t opcode = text ? WSLAY_TEXT_FRAME : WSLAY_BINARY_FRAME;
  const wslay_event_msg message = {opcode, static_cast<const std::uint8_t*>(buffer), bytes};
  if (wslay_event_queue_msg(context, &message) != 0) {
    socketSetLastError(ENOMEM);
    return -1;
  }
  flush();
  return static_cast<long>(bytes);
}

long WebSocketStream::receive(void* buffer, std::size_t bytes) {
  if (inbox.size() == inbox_start && !ended) readFrames();
  if (inbox.size() > inbox_start) return handOut(buffer, bytes);
  if (socket_error != 0) {
    socketSetLastError(socket_error);
    return -1;
  }
  if (ended) return 0;
  socketSetLastError(EAGAIN);
  return -1;
}

// One round of reading: wslay reads frames until the budget or the socket
// runs out. A peer's close, or a bad frame (which wslay answers with a close
// naming the fault), ends the stream once the close has been sent.
void WebSocketStream::readFrames() {
  inbox.erase(0, inbox_start);
  inbox_start = 0;
  read_budget = READ_BUDGET;
  if (wslay_event_recv(context) != 0) ended = true;
  if (!ended) flush();  // the answers to pings, or the close that ends a fault
  if (!wslay_event_get_read_enabled(context)) ended = true;
  if (wslay_event_get_queued_msg_count(context) > MAX_QUEUED_FRAMES) ended = true;
}

long WebSocketStream::handOut(void* buffer, std::size_t bytes) {
  const std::size_t taken = std::min(bytes, inbox.size() - inbox_start);
  std::memcpy(buffer, inbox.data() + inbox_start, taken);
  inbox_start += taken;
  return static_cast<long>(taken);
}

// A close this side sent without having received one answers a fault.
int WebSocketStream::getFaultCode() const {
  if (context == nullptr || !wslay_event_get_close_sent(context)) return 0;
  if (wslay_event_get_close_received(context)) return 0;
  return wslay_event_get_status_code_sent(context);
}

}  // namespace platform
}  // namespace tw
