// The terminal's input bytes (keys, escape sequences, mouse reports, the
// keyboard protocol's replies) read as events, also when split between reads.
#include "engine/platform/TerminalInput.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "tests/support/TestSupport.h"

using tw::platform::InputEvent;
using tw::platform::TerminalInput;
using tw::platform::TerminalItem;

// Items as short text: "+A" press, "*A" repeat, "-A" release, "M 2 3" moved,
// "+Left 10 5" / "-Right 0 0" buttons, "kitty 11", "da".
static std::string describe(const TerminalItem& item) {
  if (item.kind == TerminalItem::Kind::KITTY_FLAGS) return "kitty " + std::to_string(item.value);
  if (item.kind == TerminalItem::Kind::DEVICE_ATTRIBUTES) return "da";
  const InputEvent& e = item.event;
  const std::string at = " " + std::to_string(static_cast<int>(e.x)) + " " +
                         std::to_string(static_cast<int>(e.y));
  const char* const buttons[] = {"Left", "Right", "Middle"};
  using T = InputEvent::Type;
  if (e.type == T::MouseMoved) return "M" + at;
  const bool down = e.type == T::KeyPressed || e.type == T::MouseButtonPressed;
  const std::string sign = item.repeat ? "*" : down ? "+" : "-";
  if (e.type == T::KeyPressed || e.type == T::KeyReleased) {
    return sign + tw::platform::keyDescription(e.key);
  }
  return sign + buttons[static_cast<int>(e.button) % 3] + at;
}

// The bytes of a chunk written with \e, \xNN, \r, \n, \t and \\.
static std::string bytes(const std::string& text) {
  std::string out;
  for (size_t i = 0; i < text.size(); i++) {
    const char c = text[i] == '\\' ? text[++i] : 0;
    const bool hex = c == 'x';
    out += hex ? static_cast<char>(std::stoi(text.substr(i + 1, 2), nullptr, 16))
               : c == 'e' ? '\x1b' : c == 'r' ? '\r' : c == 'n' ? '\n' : c == 't' ? '\t' : text[i];
    i += hex ? 2 : 0;
  }
  return out;
}

// Cases in tests/data/terminal-input.txt.
TEST(TerminalInput, TurnsTerminalBytesIntoEvents) {
  int cases = 0;
  for (const std::string& line : tw_test::caseLines("terminal-input.txt")) {
    SCOPED_TRACE(line);
    cases++;
    TerminalInput input;
    std::vector<TerminalItem> items;
    std::istringstream chunks(line.substr(0, line.find(" => ")));
    for (std::string chunk; chunks >> chunk;) {
      const std::string fed = bytes(chunk);
      chunk == "(flush)" ? input.flush(items) : input.feed(fed.data(), fed.size(), items);
    }
    std::string text;
    for (const TerminalItem& item : items) text += (text.empty() ? "" : ",") + describe(item);
    EXPECT_EQ(text.empty() ? "none" : text, line.substr(line.find(" => ") + 4));
  }
  EXPECT_GE(cases, 18);
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
