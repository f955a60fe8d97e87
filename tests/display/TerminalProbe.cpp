// A small program that runs the terminal presenter in the terminal it is
// started in, for the terminal tests: it shows known frames and writes what it
// expects to see and every input event it reads into a folder.
//
//   tw_terminal_probe DIR   writes DIR/pid, DIR/expected.txt (the cell grid of
//                           the frame it keeps showing), DIR/result ("open 0"
//                           or "open -1"), DIR/events.txt (one event a line)
//                           and DIR/probe.log; ends on a close request or Q.
#include "engine/core/LogManager.h"
#include "engine/display/CellGrid.h"
#include "engine/display/TerminalPresenter.h"
#include "engine/platform/Timer.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include <sys/resource.h>
#include <unistd.h>

namespace {

using tw::platform::InputEvent;

const tw::Rgb COLORS[8] = {{0, 0, 0},   {255, 0, 0},   {0, 255, 0},   {255, 255, 0},
                           {0, 0, 255}, {255, 0, 255}, {0, 255, 255}, {255, 255, 255}};

void addText(tw::DrawList& list, float x, float y, const std::string& text, tw::Rgb color) {
  for (std::size_t i = 0; i < text.size(); i++) {
    list.addCharacter(x + static_cast<float>(i), y, text[i], color, 0.0f);
  }
}

// What the first frame shows; the second overwrites parts of it and blanks the rest.
tw::DrawList firstFrame() {
  tw::DrawList list;
  addText(list, 0, 0, "FIRST FRAME, REPLACED AT ONCE", COLORS[2]);
  addText(list, 5, 10, "gone", COLORS[3]);
  return list;
}

tw::DrawList probeFrame() {
  tw::DrawList list;
  addText(list, 0, 0, "TERMINAL PROBE", COLORS[7]);
  for (int c = 0; c < 8; c++) {
    list.addCharacter(10.0f + static_cast<float>(c), 2.0f, "KRGYBMCW"[c], COLORS[c], 0.0f);
  }
  list.addCharacter(20.4f, 3.6f, 'a', COLORS[1], 0.0f);    // to (20, 4)
  list.addCharacter(20.5f, 3.5f, 'b', COLORS[2], 45.0f);   // to (21, 4), rotation ignored
  list.addCharacter(30.0f, 4.0f, 'x', COLORS[3], 0.0f);
  list.addCharacter(30.2f, 3.9f, 'y', COLORS[4], 0.0f);    // same cell: the later wins
  list.addCharacter(40.0f, 4.0f, 'o', {255, 128, 0}, 0.0f);  // not an engine colour
  list.addCharacter(79.0f, 23.0f, 'z', COLORS[6], 0.0f);   // the last cell
  tw::ShapeOutline hexagon;
  hexagon.points = 6;
  hexagon.radius = 40.0f;
  list.addShape(50.0f, 8.0f, hexagon, COLORS[5], 255, 0.0f);
  return list;
}

std::string describe(const InputEvent& event) {
  const std::string at = " " + std::to_string(static_cast<int>(event.x)) + " " +
                         std::to_string(static_cast<int>(event.y));
  const char* const buttons[] = {"Left", "Right", "Middle", "Extra1", "Extra2"};
  const std::string button = buttons[static_cast<int>(event.button)];
  switch (event.type) {
    case InputEvent::Type::Closed: return "Closed";
    case InputEvent::Type::KeyPressed: return "KeyPressed " + tw::platform::keyDescription(event.key);
    case InputEvent::Type::KeyReleased: return "KeyReleased " + tw::platform::keyDescription(event.key);
    case InputEvent::Type::MouseMoved: return "MouseMoved" + at;
    case InputEvent::Type::MouseButtonPressed: return "MouseButtonPressed " + button + at;
    case InputEvent::Type::MouseButtonReleased: return "MouseButtonReleased " + button + at;
    default: return "Other";
  }
}

// Shows the frame and logs the events until a close request or Q.
void run(tw::TerminalPresenter& presenter, const tw::DrawList& frame, const std::string& dir) {
  std::ofstream events(dir + "/events.txt");
  for (int i = 0; i < 2000; i++) {  // about a minute at most
    presenter.present(frame);
    InputEvent event;
    while (presenter.pollEvent(event)) {
      events << describe(event) << std::endl;
      if (event.type == InputEvent::Type::Closed) return;
      if (event.type == InputEvent::Type::KeyPressed && event.key == tw::platform::Key::Q) return;
    }
    tw::platform::sleepMilliseconds(30);
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s DIR\n", argv[0]);
    return 2;
  }
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
  const int opened = presenter.open(settings);
  std::ofstream(dir + "/result") << "open " << opened << std::endl;
  if (opened != 0) return 1;
  presenter.present(firstFrame());
  run(presenter, frame, dir);
  presenter.close();
  presenter.close();
  return 0;
}
