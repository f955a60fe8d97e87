#include "engine/platform/WebSocketHandshake.h"

#include <nettle/base64.h>
#include <nettle/sha1.h>

#include <algorithm>
#include <cctype>
#include <cstdint>

namespace tw {
namespace platform {

namespace {
const char* const ACCEPT_GUID = "258EAFA5-E914-47DA-95CA-C5AB0DC85B11";
const std::size_t KEY_BYTES = 16;  // a client key is 16 random bytes in Base64

std::string lowered(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

std::string trimmed(const std::string& text) {
  const std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return "";
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// True when the comma-separated list holds token (compared without case).
bool listHas(const std::string& list, const std::string& token) {
  std::size_t start = 0;
  while (start <= list.size()) {
    std::size_t end = list.find(',', start);
    if (end == std::string::npos) end = list.size();
    if (lowered(trimmed(list.substr(start, end - start))) == token) return true;
    start = end + 1;
  }
  return false;
}

// The number of bytes key decodes to, or 0 when it is not Base64.
std::size_t decodedLength(const std::string& key) {
  if (key.size() > 64) return 0;
  base64_decode_ctx ctx;
  base64_decode_init(&ctx);
  std::uint8_t out[BASE64_DECODE_LENGTH(64)];
  std::size_t length = sizeof(out);
  if (base64_decode_update(&ctx, &length, out, key.size(), key.c_str()) != 1) return 0;
  if (base64_decode_final(&ctx) != 1) return 0;
  return length;
}

std::string badRequest(const std::string& why) {
  return "HTTP/1.1 400 Bad Request\r\nContent-Type: text/plain\r\nConnection: close\r\n"
         "Content-Length: " +
         std::to_string(why.size() + 1) + "\r\n\r\n" + why + "\n";
}
}  // namespace

std::string webSocketAcceptKey(const std::string& client_key) {
  const std::string joined = client_key + ACCEPT_GUID;
  sha1_ctx sha;
  sha1_init(&sha);
  sha1_update(&sha, joined.size(), reinterpret_cast<const std::uint8_t*>(joined.data()));
  std::uint8_t digest[SHA1_DIGEST_SIZE];
  sha1_digest(&sha, SHA1_DIGEST_SIZE, digest);
  char encoded[BASE64_ENCODE_RAW_LENGTH(SHA1_DIGEST_SIZE)];
  base64_encode_raw(encoded, SHA1_DIGEST_SIZE, digest);
  return std::string(encoded, sizeof(encoded));
}

WebSocketHandshake::WebSocketHandshake(std::size_t new_max_request_bytes)
    : max_request_bytes(new_max_request_bytes), state(INCOMPLETE) {}

WebSocketHandshake::State WebSocketHandshake::feed(const char* bytes, std::size_t count) {
  if (state != INCOMPLETE) {
    rest.append(bytes, count);
    return state;
  }
  // Only the tail that could complete "\r\n\r\n" is searched again.
  const std::size_t from = request.size() < 3 ? 0 : request.size() - 3;
  request.append(bytes, count);
  const std::size_t end = request.find("\r\n\r\n", from);
  if (end != std::string::npos && end + 4 <= max_request_bytes) {
    finish(end);
  } else if (request.size() >= max_request_bytes) {
    refuse("request too long");
  }
  return state;
}

std::string WebSocketHandshake::takeRest() {
  std::string taken;
  taken.swap(rest);
  return taken;
}

void WebSocketHandshake::finish(std::size_t end_of_request) {
  rest = request.substr(end_of_request + 4);
  const std::string head = request.substr(0, end_of_request + 2);
  std::string().swap(request);
  if (!readHeaders(head)) {
    refuse("not a WebSocket upgrade request");
    return;
  }
  const std::string problem = check();
  if (problem.empty()) {
    accept();
  } else {
    refuse(problem);
  }
}

// Splits "GET path HTTP/1.1\r\nName: value\r\n..." into headers; false when
// the request line is not a GET of HTTP/1.1 or later, or a line has no colon.
bool WebSocketHandshake::readHeaders(const std::string& head) {
  std::size_t start = head.find("\r\n");
  const std::string line = head.substr(0, start);
  if (line.compare(0, 4, "GET ") != 0 || line.size() < 14) return false;
  if (line.compare(line.size() - 9, 9, " HTTP/1.1") != 0) return false;
  for (start += 2; start < head.size();) {
    const std::size_t end = head.find("\r\n", start);
    const std::string header = head.substr(start, end - start);
    const std::size_t colon = header.find(':');
    if (colon == std::string::npos || colon == 0) return false;
    headers.emplace_back(lowered(header.substr(0, colon)), trimmed(header.substr(colon + 1)));
    start = end + 2;
  }
  return true;
}

// "" when the request asks for a WebSocket this side speaks, else the reason.
std::string WebSocketHandshake::check() const {
  if (!listHas(headerValue("upgrade"), "websocket")) return "no Upgrade: websocket";
  if (!listHas(headerValue("connection"), "upgrade")) return "no Connection: Upgrade";
  if (headerValue("sec-websocket-version") != "13") return "WebSocket version is not 13";
  if (decodedLength(headerValue("sec-websocket-key")) != KEY_BYTES) {
    return "bad Sec-WebSocket-Key";
  }
  return "";
}

void WebSocketHandshake::accept() {
  response = "HTTP/1.1 101 Switching Protocols\r\nUpgrade: websocket\r\nConnection: Upgrade\r\n"
             "Sec-WebSocket-Accept: " +
             webSocketAcceptKey(headerValue("sec-websocket-key")) + "\r\n";
  // Browser socket layers ask for "binary"; the engine's messages are bytes.
  if (listHas(headerValue("sec-websocket-protocol"), "binary")) {
    response += "Sec-WebSocket-Protocol: binary\r\n";
  }
  response += "\r\n";
  state = ACCEPTED;
}

void WebSocketHandshake::refuse(const std::string& why) {
  reason = why;
  response = badRequest(why);
  state = REFUSED;
}

std::string WebSocketHandshake::headerValue(const std::string& name) const {
  for (const auto& header : headers) {
    if (header.first == name) return header.second;
  }
  return "";
}

}  // namespace platform
}  // namespace tw
