// The WebSocket opening handshake, server side: which requests are accepted,
// the answer's accept key, and bytes that came after the request.
#include "engine/platform/WebSocketHandshake.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "tests/support/WebSocketClient.h"

using tw::platform::WebSocketHandshake;

namespace {
std::string withHeader(const std::string& from, const std::string& to) {
  std::string request = tw_test::WebSocketClient::goodRequest();
  request.replace(request.find(from), from.size(), to);
  return request;
}
}  // namespace

// Fed whole or in pieces, with or without asking for the "binary" protocol
// that browser socket layers ask for (echoed only when asked).
TEST(WebSocketHandshake, AcceptsAGoodRequestFedInAnyPieces) {
  const std::string plain = tw_test::WebSocketClient::goodRequest() + "\x82";
  const std::string binary =
      withHeader("Version: 13\r\n", "Version: 13\r\nSec-WebSocket-Protocol: chat, binary\r\n") +
      "\x82";
  for (const std::string* p_request : {&plain, &binary}) {
    const std::string& request = *p_request;
    for (std::size_t piece : {std::size_t{1}, std::size_t{7}, request.size()}) {
      SCOPED_TRACE(piece);
      WebSocketHandshake handshake;
      for (std::size_t at = 0; at < request.size(); at += piece) {
        handshake.feed(request.data() + at, std::min(piece, request.size() - at));
      }
      ASSERT_EQ(handshake.getState(), WebSocketHandshake::ACCEPTED) << handshake.getReason();
      const std::string& response = handshake.getResponse();
      EXPECT_EQ(response.rfind("HTTP/1.1 101 ", 0), 0u);
      // The sample answer of the protocol's definition for the sample key.
      EXPECT_NE(response.find("Sec-WebSocket-Accept: s3pPLMBiTxaQ9kYGzzhZRbK+xOo="),
                std::string::npos);
      EXPECT_EQ(response.find("Sec-WebSocket-Protocol: binary") != std::string::npos,
                p_request == &binary);
      EXPECT_EQ(handshake.takeRest(), "\x82");
    }
  }
}

TEST(WebSocketHandshake, RefusesWhatIsNotAnUpgradeThisSideSpeaks) {
  const struct {
    const char* name;
    std::string request;
  } cases[] = {
      {"POST", withHeader("GET /play", "POST /play")},
      {"HTTP/1.0", withHeader("HTTP/1.1", "HTTP/1.0")},
      {"no upgrade", withHeader("Upgrade: websocket", "Upgrade: h2c")},
      {"no connection upgrade", withHeader("keep-alive, Upgrade", "keep-alive")},
      {"version 8", withHeader("Version: 13", "Version: 8")},
      {"short key", withHeader("dGhlIHNhbXBsZSBub25jZQ==", "dGhlIHNhbXBsZQ==")},
      {"key not Base64", withHeader("dGhlIHNhbXBsZSBub25jZQ==", "dGhlIHNhbXBsZSBub25j*Q==")},
      {"header without colon", withHeader("Host: 127.0.0.1", "Host 127.0.0.1")},
      {"too long", "GET / HTTP/1.1\r\nX: " + std::string(9000, 'a') + "\r\n\r\n"},
  };
  for (const auto& each : cases) {
    SCOPED_TRACE(each.name);
    WebSocketHandshake handshake;
    EXPECT_EQ(handshake.feed(each.request.data(), each.request.size()),
              WebSocketHandshake::REFUSED);
    EXPECT_EQ(handshake.getResponse().rfind("HTTP/1.1 400 ", 0), 0u);
    EXPECT_FALSE(handshake.getReason().empty());
  }
}
