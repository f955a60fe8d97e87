// The terminal's input bytes (keys, escape sequences, mouse reports, the
// keyboard protocol's replies) read as events, also when split between reads.
#include "engine/platform/TerminalInput.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using tw::platform::InputEvent;
using tw::platform::TerminalInput;
using tw::platform::TerminalItem;

// Items as short text: "+A" press, "*A" repeat, "-A" release, "M 2 3" moved,
// "+Left 10 5" / "-Right 0 0" buttons, "kitty 11", "da".
std::string describe(const TerminalItem& item) {
  if (item.kind == TerminalItem::Kind::KITTY_FLAGS) return "kitty " + std::to_string(item.value);
  if (item.kind == TerminalItem::Kind::DEVICE_ATTRIBUTES) return "da";
  const InputEvent& e = item.event;
  const std::string at = " " + std::to_string(static_cast<int>(e.x)) + " " +
                         std::to_string(static_cast<int>(e.y));
  const std::string button = std::vector<std::string>{"Left", "Right", "Middle"}.at(
      static_cast<size_t>(e.button));
  using T = InputEvent::Type;
  if (e.type == T::KeyPressed) return (item.repeat ? "*" : "+") + tw::platform::keyDescription(e.key);
  if (e.type == T::KeyReleased) return "-" + tw::platform::keyDescription(e.key);
  if (e.type == T::MouseMoved) return "M" + at;
  if (e.type == T::MouseButtonPressed) return "+" + button + at;
  if (e.type == T::MouseButtonReleased) return "-" + button + at;
  return "?";
}

// Feeds the chunks one after another, then flushes what waits (as the
// presenter does once the escape wait is over).
std::string parse(const std::vector<std::string>& chunks, bool flush) {
  TerminalInput input;
  std::vector<TerminalItem> items;
  for (const std::string& chunk : chunks) input.feed(chunk.data(), chunk.size(), items);
  if (flush) input.flush(items);
  std::string text;
  for (const TerminalItem& item : items) text += (text.empty() ? "" : ",") + describe(item);
  return text;
}

TEST(TerminalInput, TurnsTerminalBytesIntoEvents) {
  const struct {
    std::vector<std::string> chunks;
    bool flush;
    const char* expected;
  } cases[] = {
      {{"aZ5 -+\\~"}, false, "+A,+Z,+5,+Space,+Numpad -,+Numpad +,+\\,+`"},
      {{"\r\n\t\x7f\x08\x03"}, false, "+Enter,+Enter,+Tab,+Backspace,+Backspace,+C"},
      {{"\x1b"}, false, ""},  // a lone ESC waits ...
      {{"\x1b"}, true, "+Escape"},  // ... and is the key once the wait is over
      {{"\x1b", "[A"}, false, "+Up"},  // a sequence split between reads
      {{"\x1b[", "A"}, true, "+Up"},
      {{"\x1b["}, true, "+Escape,+["},
      {{"\x1b\x1b[B\x1bq"}, false, "+Escape,+Down,+Escape,+Q"},
      {{"\x1b[C\x1bOD\x1b[H\x1bOF"}, false, "+Right,+Left,+Home,+End"},
      {{"\x1bOP\x1bOS\x1b[15~\x1b[21~\x1b[24~\x1b[3~"}, false, "+F1,+F4,+F5,+F10,+F12,+Delete"},
      {{"\x1b[<0;11;6M\x1b[<0;11;6m\x1b[<2;1;1M\x1b[<1;80;24m"}, false,
       "+Left 10 5,-Left 10 5,+Right 0 0,-Middle 79 23"},
      {{"\x1b[<35;3;4M\x1b[<32;5;5M\x1b[<64;1;1M\x1b[<65;1;1M"}, false, "M 2 3,M 4 4"},  // wheel ignored
      {{"\x1b[M #%"}, false, "+Left 2 4"},  // the classic mouse report
      {{"\x1b[97u\x1b[97;1:2u\x1b[97;1:3u"}, false, "+A,*A,-A"},
      {{"\x1b[27u\x1b[13;1:3u\x1b[57441;2u\x1b[57399u"}, false, "+Escape,-Enter,+Left Shift,+Numpad 0"},
      {{"\x1b[1;1:3A\x1b[1;1:2P\x1b[15;1:3~"}, false, "-Up,*F1,-F5"},
      {{"\x1b[?11u\x1b[?62;22c"}, false, "kitty 11,da"},
      {{"\x1b[99X\x1b[?5n\x1b[1\x01x"}, false, "+A,+X"},  // unknown and broken sequences
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.chunks[0]);
    EXPECT_EQ(parse(c.chunks, c.flush), c.expected);
  }
}

// An introducer followed by endless parameter bytes must not be held for
// ever: its ESC is dropped and the rest reads as typed characters.
TEST(TerminalInput, GivesUpOnASequenceNoTerminalSends) {
  TerminalInput input;
  std::vector<TerminalItem> items;
  const std::string garbage = "\x1b[" + std::string(1000, '1');
  input.feed(garbage.data(), garbage.size(), items);
  EXPECT_FALSE(input.hasPending());
  ASSERT_EQ(items.size(), 1001u);
  EXPECT_EQ(describe(items.front()), "+[");
}

}  // namespace
