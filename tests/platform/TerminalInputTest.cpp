// The terminal's input bytes (keys, escape sequences, mouse reports, the
// keyboard protocol's replies) read as events, also when split between reads.
#include "engine/platform/TerminalInput.h"

#include <gtest/gtest.h>

#include <algorithm>
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

static std::string describeAll(const std::vector<TerminalItem>& items) {
  std::string text;
  for (const TerminalItem& item : items) text += (text.empty() ? "" : ",") + describe(item);
  return text.empty() ? "none" : text;
}

// Cases in tests/data/terminal-input.txt, fed chunk by chunk as written and
// again one byte at a time: the items must not depend on how the bytes
// arrive.
TEST(TerminalInput, TurnsTerminalBytesIntoTheSameEventsHoweverSplit) {
  int cases = 0;
  for (const std::string& line : tw_test::caseLines("terminal-input.txt")) {
    SCOPED_TRACE(line);
    cases++;
    for (const std::size_t piece : {std::string::npos, std::size_t{1}}) {
      TerminalInput input;
      std::vector<TerminalItem> items;
      std::istringstream chunks(line.substr(0, line.find(" => ")));
      for (std::string chunk; chunks >> chunk;) {
        if (chunk == "(flush)") input.flush(items);
        const std::string fed = chunk == "(flush)" ? "" : bytes(chunk);
        for (std::size_t at = 0; at < fed.size(); at += piece) {
          input.feed(fed.data() + at, std::min(piece, fed.size() - at), items);
        }
      }
      EXPECT_EQ(describeAll(items), line.substr(line.find(" => ") + 4)) << "pieces of " << piece;
    }
  }
  EXPECT_GE(cases, 20);
}

// A sequence longer than any terminal sends is dropped whole, up to its final
// byte, wherever the reads split it; what follows it is read as usual.
TEST(TerminalInput, DropsAnOverLongSequenceWholeWhereverItIsSplit) {
  std::string fed = "\x1b[";
  for (int i = 0; i < 150; i++) fed += "1;";
  fed += "ux";
  for (std::size_t split = 1; split < fed.size(); split++) {
    SCOPED_TRACE(split);
    TerminalInput input;
    std::vector<TerminalItem> items;
    input.feed(fed.data(), split, items);
    input.feed(fed.data() + split, fed.size() - split, items);
    EXPECT_EQ(describeAll(items), "+X");
    EXPECT_FALSE(input.hasPending());
  }
}
