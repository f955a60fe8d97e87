// The page script's tables module (written by CMake from the engine's
// headers) against the C++ constants it must repeat: key and event numbers
// and the drawing list's and polled event's layout.
#include "engine/platform/InputCodes.h"
#include "engine/platform/PageLayout.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <regex>
#include <string>

namespace {

namespace page = tw::platform::page;
using tw::platform::InputEvent;
using tw::platform::Key;
using tw::platform::MouseButton;

// "Table.NAME" -> number, from the module's lines "  Table: Object.freeze({"
// and "    NAME: number,".
std::map<std::string, int> readTables(const std::string& path) {
  std::ifstream in(path);
  std::map<std::string, int> numbers;
  const std::regex table_line("^  ([A-Za-z]+): Object\\.freeze\\(\\{$");
  const std::regex entry_line("^    ([A-Za-z_0-9]+): (-?[0-9]+),$");
  std::string line, table;
  std::smatch m;
  while (std::getline(in, line)) {
    if (std::regex_match(line, m, table_line)) table = m[1];
    if (std::regex_match(line, m, entry_line)) numbers[table + "." + m[1].str()] = std::stoi(m[2]);
  }
  return numbers;
}

int countIn(const std::map<std::string, int>& numbers, const std::string& table) {
  int count = 0;
  for (const auto& entry : numbers) count += entry.first.rfind(table + ".", 0) == 0 ? 1 : 0;
  return count;
}

TEST(PageTables, RepeatTheEnginesNumbers) {
  const std::map<std::string, int> numbers = readTables(TW_PAGE_TABLES_JS);
  const struct {
    const char* name;
    int value;
  } cases[] = {
      {"Key.Unknown", static_cast<int>(Key::Unknown)},
      {"Key.A", static_cast<int>(Key::A)},
      {"Key.Space", static_cast<int>(Key::Space)},
      {"Key.Numpad0", static_cast<int>(Key::Numpad0)},
      {"Key.Pause", static_cast<int>(Key::Pause)},
      {"MouseButton.Middle", static_cast<int>(MouseButton::Middle)},
      {"EventType.MouseButtonReleased", static_cast<int>(InputEvent::Type::MouseButtonReleased)},
      {"DrawKind.DRAW_SHAPE", page::DRAW_SHAPE},
      {"CharacterField.CHARACTER_FILLS", page::CHARACTER_FILLS},
      {"CharacterField.CHARACTER_STRIDE", page::CHARACTER_STRIDE},
      {"ShapeField.SHAPE_HEADER", page::SHAPE_HEADER},
      {"PollField.POLL_X", page::POLL_X},
      {"PollField.POLL_WORDS", page::POLL_WORDS},
      {"FitField.FIT_SHIFT_Y", page::FIT_SHIFT_Y},
      {"FitTableField.FITS_BLOCK", page::FITS_BLOCK},
      {"FitTableField.FITS_RUN_COUNT", page::FITS_RUN_COUNT},
      {"FitTableField.FITS_HEADER", page::FITS_HEADER},
      {"OwnFitField.OWN_WORDS", page::OWN_WORDS},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_EQ(numbers.count(c.name), 1u);
    EXPECT_EQ(numbers.at(c.name), c.value);
  }
  // Every key, and nothing else, in the key table.
  EXPECT_EQ(countIn(numbers, "Key"), tw::platform::KEY_COUNT + 1);
  EXPECT_EQ(countIn(numbers, "CharacterField"), page::CHARACTER_STRIDE + 1);
}

}  // namespace
