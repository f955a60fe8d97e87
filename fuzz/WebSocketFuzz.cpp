// What a WebSocket client sends, from its first byte: the first input byte
// says where the rest is cut into two pieces; the handshake takes the bytes
// piece by piece and, when it accepts the request, whatever followed goes
// through a real socket pair to a server-side stream that reads frames. The
// handshake must decide only on a whole request, always answer, and keep
// every byte after the request; the stream must never hand out more bytes
// than were sent, and must end (with a fault code, or a clean close) rather
// than read on after a frame it refused.
#include <sys/socket.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "engine/platform/Socket.h"
#include "engine/platform/WebSocketHandshake.h"
#include "engine/platform/WebSocketStream.h"
#include "fuzz/FuzzSupport.h"

namespace {
using tw::platform::WebSocketHandshake;

const std::size_t MAX_MESSAGE = 64;  // small, so that inputs reach both sides of it

void readFrames(const std::string& bytes) {
  int ends[2];
  if (socketpair(AF_UNIX, SOCK_STREAM, 0, ends) != 0) return;
  tw::platform::socketSetNonBlocking(ends[0], true);
  tw_fuzz::require(write(ends[1], bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size()),
                   "the socket pair takes the input");
  shutdown(ends[1], SHUT_WR);
  std::size_t handed_out = 0;
  {
    tw::platform::WebSocketStream stream(ends[0], true, MAX_MESSAGE);
    char buffer[256];
    for (int round = 0; round < 10000; round++) {
      const long got = stream.receive(buffer, sizeof(buffer));
      if (got <= 0) break;
      handed_out += static_cast<std::size_t>(got);
    }
    tw_fuzz::require(handed_out <= bytes.size(), "no more payload than bytes sent");
    const long after = stream.receive(buffer, sizeof(buffer));
    tw_fuzz::require(after <= 0, "nothing is read after the stream ended");
  }
  close(ends[0]);
  close(ends[1]);
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::string input = tw_fuzz::bytesOf(data + 1, size - 1);
  const std::size_t cut = data[0] % (input.size() + 1);
  WebSocketHandshake handshake;
  handshake.feed(input.data(), cut);
  handshake.feed(input.data() + cut, input.size() - cut);
  const std::size_t end = input.find("\r\n\r\n");
  if (handshake.getState() == WebSocketHandshake::INCOMPLETE) {
    tw_fuzz::require(end == std::string::npos && input.size() < 8192, "a whole request is decided");
    return 0;
  }
  tw_fuzz::require(!handshake.getResponse().empty(), "every decided request is answered");
  if (handshake.getState() != WebSocketHandshake::ACCEPTED) return 0;
  const std::string rest = handshake.takeRest();
  tw_fuzz::require(end != std::string::npos && rest == input.substr(end + 4),
                   "the bytes after the request are kept");
  readFrames(rest);
  return 0;
}
