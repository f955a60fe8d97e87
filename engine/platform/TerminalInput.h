// Turns the bytes a terminal sends as input into input events: keys in their
// classic and kitty-protocol encodings, SGR mouse reports and the replies a
// terminal gives to feature queries. Pure parsing: no I/O and no clock.
#pragma once

#include "engine/platform/InputCodes.h"

#include <cstddef>
#include <string>
#include <vector>

namespace tw {
namespace platform {

// One thing the terminal said.
struct TerminalItem {
  enum class Kind {
    INPUT,              // event holds a key or mouse event
    KITTY_FLAGS,        // reply to a kitty keyboard query: value holds the flags
    DEVICE_ATTRIBUTES,  // reply to a primary device attributes query
  };
  Kind kind = Kind::INPUT;
  InputEvent event;
  // A key's auto-repeat as the kitty protocol marks it (event type 2); the
  // classic encodings cannot tell a repeat from a press.
  bool repeat = false;
  int value = 0;
};

class TerminalInput {
 public:
  // Parses bytes after whatever an earlier call left unfinished, appending
  // every complete item to out. An escape sequence cut off at the end of the
  // chunk waits for the next one, so however the same bytes are split
  // between calls, the items are the same. A sequence longer than any a
  // terminal sends, or one not understood, is dropped whole.
  void feed(const char* bytes, std::size_t count, std::vector<TerminalItem>& out);
  // True while an unfinished escape sequence is held back or being dropped.
  bool hasPending() const;
  // Gives up waiting on a lone ESC, which is then the Escape key. A sequence
  // begun further is never given up on: it waits for the byte that completes
  // it, or for one that cannot belong to it, which ends it (dropped), so that
  // a stalled sequence is never read as typed keys. The caller decides when
  // enough time has passed.
  void flush(std::vector<TerminalItem>& out);

 private:
  // Parses one item at the front of buffer[pos...]; returns the bytes used,
  // or 0 when the sequence there is not complete yet.
  std::size_t parseOne(std::size_t pos, std::vector<TerminalItem>& out);
  std::size_t parseEscape(std::size_t pos, std::vector<TerminalItem>& out);
  std::size_t parseCsi(std::size_t pos, std::vector<TerminalItem>& out);
  std::size_t skipDropped(std::size_t pos);

  std::string buffer;     // bytes not parsed yet
  bool dropping = false;  // inside an over-long or given-up sequence
};

// The key a typed byte stands for (control characters, printable ASCII).
Key keyFromByte(unsigned char byte);

}  // namespace platform
}  // namespace tw
