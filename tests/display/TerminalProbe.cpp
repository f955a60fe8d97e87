// tw_terminal_probe DIR, for the terminal tests: shows a known frame through the
// terminal presenter until a close request or Q. Writes DIR/pid, DIR/expected.txt
// (the frame's cell grid), DIR/events.txt (input events read) and DIR/probe.log.
#include <sys/resource.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <string>

#include "engine/core/LogManager.h"
#include "engine/display/CellGrid.h"
#include "engine/display/TerminalPresenter.h"
#include "engine/platform/Timer.h"

namespace {

using tw::platform::InputEvent;

tw::Rgb color(int c) { return tw::colorToRgb(static_cast<tw::Color>(c)); }  // BLACK, RED ... WHITE

void addText(tw::DrawList& list, float x, float y, const std::u32string& text, tw::Rgb color) {
  for (std::size_t i = 0; i < text.size(); i++) list.addCharacter(x + i, y, text[i], color, 0.0f);
}

tw::DrawList probeFrame() {
  tw::DrawList list;
  addText(list, 0, 0, U"TERMINAL PROBE", color(7));
  // Box drawing, blocks, shades, an arrow, a wide character (which no cell
  // holds) and a letter after them, which must stay in its column.
  addText(list, 0, 6, U"\u250c\u2500\u2510\u2502\u2588\u2591\u2192\u4e00x", color(2));
  for (int c = 0; c < 8; c++) list.addCharacter(10.0f + c, 2.0f, "KRGYBMCW"[c], color(c), 0.0f);
  list.addCharacter(20.4f, 3.6f, 'a', color(1), 0.0f);      // to (20, 4)
  list.addCharacter(20.5f, 3.5f, 'b', color(2), 45.0f);     // to (21, 4), rotation ignored
  list.addCharacter(30.0f, 4.0f, 'x', color(3), 0.0f);
  list.addCharacter(30.2f, 3.9f, 'y', color(4), 0.0f);      // same cell: the later wins
  list.addCharacter(40.0f, 4.0f, 'o', {255, 128, 0}, 0.0f);  // not an engine colour
  list.addCharacter(79.0f, 23.0f, 'z', color(6), 0.0f);     // the last cell
  // Cells over backgrounds of their own: engine colours, a blank, a colour
  // beyond the eight, and one a later plain character gives the frame's back.
  list.addCell(0.0f, 12.0f, 'R', color(7), color(1));
  list.addCell(1.0f, 12.0f, 'B', color(3), color(4));
  list.addCell(2.0f, 12.0f, ' ', color(7), color(2));
  list.addCell(3.0f, 12.0f, 'o', color(0), {255, 128, 0});
  list.addCell(4.0f, 12.0f, 'x', color(7), color(5));
  list.addCharacter(4.0f, 12.0f, 'y', color(6), 0.0f);
  list.addShape(50.0f, 8.0f, tw::ShapeOutline{6, 40.0f, 0.0f, 0.0f}, color(5), 255, 0.0f);
  return list;
}

std::string describe(const InputEvent& event) {
  using Type = InputEvent::Type;
  const std::string at = " " + std::to_string(static_cast<int>(event.x)) + " " +
                         std::to_string(static_cast<int>(event.y));
  const char* const buttons[] = {"Left", "Right", "Middle", "Extra1", "Extra2"};
  const std::string pressed = buttons[static_cast<int>(event.button)] + at;
  const std::string key = tw::platform::keyDescription(event.key);
  if (event.type == Type::KeyPressed) return "KeyPressed " + key;
  if (event.type == Type::KeyReleased) return "KeyReleased " + key;
  if (event.type == Type::MouseMoved) return "MouseMoved" + at;
  if (event.type == Type::MouseButtonPressed) return "MouseButtonPressed " + pressed;
  if (event.type == Type::MouseButtonReleased) return "MouseButtonReleased " + pressed;
  return event.type == Type::Closed ? "Closed" : "Other";
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  const std::string dir = argv[1];
  const struct rlimit no_core = {0, 0};
  setrlimit(RLIMIT_CORE, &no_core);  // the fatal-signal test must leave no core file
  std::ofstream(dir + "/pid") << getpid() << std::endl;
  setenv("TARNWICK_LOG", (dir + "/probe.log").c_str(), 1);
  tw::LogManager::getInstance().startUp();
  tw::LogManager::getInstance().setFlush(true);
  tw::PresenterSettings settings;
  const tw::DrawList frame = probeFrame();
  tw::CellGrid expected(settings.horizontal_chars, settings.vertical_chars, settings.background);
  expected.paint(frame, 1024.0f / 80.0f, 768.0f / 24.0f);
  expected.writeText(dir + "/expected.txt");
  tw::TerminalPresenter presenter;
  if (presenter.open(settings) != 0) return 1;
  // A first frame that the probe's frame overwrites in part and blanks elsewhere.
  tw::DrawList first;
  addText(first, 0, 0, U"FIRST FRAME, REPLACED AT ONCE", color(2));
  addText(first, 5, 10, U"gone", color(3));
  presenter.present(first);
  std::ofstream events(dir + "/events.txt");
  for (int i = 0; i < 2000; i++) {  // about a minute at most, until a close request or Q
    presenter.present(frame);
    for (InputEvent event; presenter.pollEvent(event);) {
      events << describe(event) << std::endl;
      if (event.type == InputEvent::Type::Closed ||
          (event.type == InputEvent::Type::KeyPressed && event.key == tw::platform::Key::Q)) {
        presenter.close();
        presenter.close();  // a second close is harmless
        return 0;
      }
    }
    tw::platform::sleepMilliseconds(30);
  }
  return 0;
}
