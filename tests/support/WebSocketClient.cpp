#include "tests/support/WebSocketClient.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>
#include <wslay/wslay.h>

#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstring>

namespace tw_test {

namespace {
using Clock = std::chrono::steady_clock;
// The sample key and answer of the protocol's definition, so the server's
// hash is checked against a value worked out elsewhere.
const char* const SAMPLE_KEY = "dGhlIHNhbXBsZSBub25jZQ==";
const char* const SAMPLE_ACCEPT = "s3pPLMBiTxaQ9kYGzzhZRbK+xOo=";

int msLeft(Clock::time_point deadline) {
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
  return left.count() > 0 ? static_cast<int>(left.count()) : 0;
}

bool readable(int fd, int timeout_ms) {
  pollfd p{fd, POLLIN, 0};
  return poll(&p, 1, timeout_ms) > 0;
}

WebSocketClient& clientOf(void* user_data) { return *static_cast<WebSocketClient*>(user_data); }
}  // namespace

std::string framed(const std::string& message) {
  const auto n = static_cast<std::uint32_t>(message.size());
  const char length[] = {static_cast<char>(n), static_cast<char>(n >> 8),
                         static_cast<char>(n >> 16), static_cast<char>(n >> 24)};
  return std::string(length, 4) + message;
}

struct ClientCallbacks {
  static ssize_t read(wslay_event_context_ptr ctx, std::uint8_t* buffer, std::size_t length, int,
                      void* user_data) {
    const ssize_t got = recv(clientOf(user_data).fd, buffer, length, MSG_DONTWAIT);
    if (got > 0) return got;
    const bool would_block = got == -1 && (errno == EAGAIN || errno == EWOULDBLOCK);
    if (!would_block) clientOf(user_data).ended = true;
    wslay_event_set_error(ctx, would_block ? WSLAY_ERR_WOULDBLOCK : WSLAY_ERR_CALLBACK_FAILURE);
    return -1;
  }
  static ssize_t write(wslay_event_context_ptr ctx, const std::uint8_t* data, std::size_t length,
                       int, void* user_data) {
    const ssize_t sent = send(clientOf(user_data).fd, data, length, MSG_NOSIGNAL);
    if (sent >= 0) return sent;
    wslay_event_set_error(ctx, WSLAY_ERR_CALLBACK_FAILURE);
    return -1;
  }
  static int mask(wslay_event_context_ptr, std::uint8_t* buffer, std::size_t length, void*) {
    for (std::size_t i = 0; i < length; i++) buffer[i] = static_cast<std::uint8_t>(rand());
    return 0;
  }
  static void message(wslay_event_context_ptr, const wslay_event_on_msg_recv_arg* arg,
                      void* user_data) {
    WebSocketClient& client = clientOf(user_data);
    if (arg->opcode == WSLAY_CONNECTION_CLOSE) {
      client.close_code = arg->status_code;
      client.ended = true;
    } else {
      client.received.append(reinterpret_cast<const char*>(arg->msg), arg->msg_length);
      client.whole.emplace_back(arg->opcode == WSLAY_TEXT_FRAME,
                                std::string(reinterpret_cast<const char*>(arg->msg), arg->msg_length));
    }
  }
};

std::string WebSocketClient::goodRequest() {
  return std::string("GET /play HTTP/1.1\r\nHost: 127.0.0.1\r\nUpgrade: websocket\r\n"
                     "Connection: keep-alive, Upgrade\r\nSec-WebSocket-Key: ") +
         SAMPLE_KEY + "\r\nSec-WebSocket-Version: 13\r\n\r\n";
}

WebSocketClient::WebSocketClient(int port, bool with_handshake) {
  fd = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<std::uint16_t>(port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (fd == -1 || connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0) {
    close();
    return;
  }
  const wslay_event_callbacks callbacks = {ClientCallbacks::read, ClientCallbacks::write,
                                           ClientCallbacks::mask, nullptr,
                                           nullptr,               nullptr,
                                           ClientCallbacks::message};
  wslay_event_context_client_init(&context, &callbacks, this);
  if (!with_handshake) return;
  const std::string answer = handshake(goodRequest());
  is_upgraded = answer.rfind("HTTP/1.1 101 ", 0) == 0 &&
                answer.find(std::string("Sec-WebSocket-Accept: ") + SAMPLE_ACCEPT + "\r\n") !=
                    std::string::npos;
}

WebSocketClient::~WebSocketClient() {
  close();
  if (context != nullptr) wslay_event_context_free(context);
}

// Reads byte by byte up to the blank line, so no frame is taken with it.
std::string WebSocketClient::handshake(const std::string& request, int timeout_ms) {
  if (!writeRaw(request)) return "";
  const auto deadline = Clock::now() + std::chrono::milliseconds(timeout_ms);
  std::string answer;
  char c = 0;
  while (answer.find("\r\n\r\n") == std::string::npos && readable(fd, msLeft(deadline))) {
    if (recv(fd, &c, 1, 0) != 1) break;
    answer += c;
  }
  return answer;
}

bool WebSocketClient::writeRaw(const std::string& bytes) {
  std::size_t done = 0;
  while (fd != -1 && done < bytes.size()) {
    const ssize_t sent = send(fd, bytes.data() + done, bytes.size() - done, MSG_NOSIGNAL);
    if (sent <= 0) return false;
    done += static_cast<std::size_t>(sent);
  }
  return fd != -1;
}

bool WebSocketClient::sendBinary(const std::string& bytes) {
  const wslay_event_msg message = {WSLAY_BINARY_FRAME,
                                   reinterpret_cast<const std::uint8_t*>(bytes.data()),
                                   bytes.size()};
  if (fd == -1 || wslay_event_queue_msg(context, &message) != 0) return false;
  return wslay_event_send(context) == 0;
}

bool WebSocketClient::pump(int timeout_ms) {
  if (fd == -1 || ended || !readable(fd, timeout_ms)) return false;
  // A failed read, or frames wslay refused (it stops reading then), end it.
  if (wslay_event_recv(context) != 0 || !wslay_event_get_read_enabled(context)) ended = true;
  return true;
}

bool WebSocketClient::receiveMessage(std::string& message, int timeout_ms) {
  const auto deadline = Clock::now() + std::chrono::milliseconds(timeout_ms);
  for (;;) {
    if (received.size() >= 4) {
      const std::uint32_t length = static_cast<std::uint8_t>(received[0]) |
                                   static_cast<std::uint8_t>(received[1]) << 8 |
                                   static_cast<std::uint8_t>(received[2]) << 16 |
                                   static_cast<std::uint32_t>(static_cast<std::uint8_t>(received[3])) << 24;
      if (received.size() - 4 >= length) {
        message = received.substr(4, length);
        received.erase(0, 4 + length);
        return true;
      }
    }
    if (!pump(msLeft(deadline))) return false;
  }
}

bool WebSocketClient::receiveWhole(std::string& payload, bool& text, int timeout_ms) {
  const auto deadline = Clock::now() + std::chrono::milliseconds(timeout_ms);
  while (whole.empty()) {
    if (!pump(msLeft(deadline))) return false;
  }
  text = whole.front().first;
  payload = std::move(whole.front().second);
  whole.pop_front();
  return true;
}

bool WebSocketClient::seesClose(int timeout_ms) {
  const auto deadline = Clock::now() + std::chrono::milliseconds(timeout_ms);
  while (!ended && pump(msLeft(deadline))) {
  }
  return ended;
}

void WebSocketClient::close() {
  if (fd != -1) ::close(fd);
  fd = -1;
}

}  // namespace tw_test
