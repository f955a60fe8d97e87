// Terminal input: the bytes fed whole and the same bytes fed in pieces of
// random sizes with random pauses between them, flushed as the presenter
// flushes after a quiet spell (the first input bytes choose sizes and
// pauses), give the same items: a stalled sequence never becomes keys.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/platform/TerminalInput.h"
#include "fuzz/FuzzSupport.h"

namespace {

using tw::platform::TerminalItem;

bool same(const TerminalItem& a, const TerminalItem& b) {
  return a.kind == b.kind && a.repeat == b.repeat && a.value == b.value &&
         a.event.type == b.event.type && a.event.key == b.event.key &&
         a.event.button == b.event.button && a.event.x == b.event.x && a.event.y == b.event.y;
}

// Milliseconds of quiet after which the terminal presenter flushes.
const int FLUSH_MS = 30;

// Feeds bytes as the presenter does, against a clock: in pieces of 1 to 300
// bytes (the whole when pieces is 0) with a pause of 0 to 99 ms after each,
// flushing once a pause reaches FLUSH_MS, as often as the presenter would.
// A pause after a lone ESC stays shorter: that ESC is the Escape key once
// the wait is over, which no parser can tell from a sequence's start.
std::vector<TerminalItem> parse(const std::string& bytes, std::uint32_t pieces) {
  tw::platform::TerminalInput input;
  std::vector<TerminalItem> items;
  std::size_t at = 0;
  while (at < bytes.size()) {
    std::size_t n = pieces == 0 ? bytes.size() - at : 1 + pieces % 300;
    if (n > bytes.size() - at) n = bytes.size() - at;
    input.feed(bytes.data() + at, n, items);
    at += n;
    pieces = pieces * 1103515245u + 12345u;
    int pause = pieces == 0 ? 0 : static_cast<int>((pieces >> 16) % 100);
    if (static_cast<unsigned char>(bytes[at - 1]) == 0x1b) pause %= FLUSH_MS;
    for (int quiet = FLUSH_MS; quiet <= pause && input.hasPending(); quiet += FLUSH_MS) {
      input.flush(items);
    }
  }
  // The end of input is one long pause.
  input.flush(items);
  return items;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 4) return 0;
  const std::uint32_t pieces = (data[0] | data[1] << 8 | data[2] << 16 | static_cast<std::uint32_t>(data[3]) << 24) | 1u;
  const std::string bytes = tw_fuzz::bytesOf(data + 4, size - 4);
  const std::vector<TerminalItem> whole = parse(bytes, 0);
  const std::vector<TerminalItem> split = parse(bytes, pieces);
  tw_fuzz::require(whole.size() == split.size(), "a split changed the number of items");
  for (std::size_t i = 0; i < whole.size(); i++) {
    tw_fuzz::require(same(whole[i], split[i]), "a split changed an item");
  }
  return 0;
}
