#include "engine/loop/DebugOverlay.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "engine/core/Config.h"
#include "engine/core/EventStep.h"
#include "engine/core/LogManager.h"
#include "engine/core/ProblemList.h"
#include "engine/display/DisplayManager.h"
#include "engine/display/Presenter.h"
#include "engine/input/EventKeyboard.h"
#include "engine/input/EventMouse.h"
#include "engine/input/InputManager.h"
#include "engine/loop/GameManager.h"
#include "engine/path/PathManager.h"
#include "engine/world/Geometry.h"
#include "engine/world/Object.h"
#include "engine/world/WorldManager.h"

namespace tw {

namespace {
const long long SECOND_US = 1000000;
const char* const PHASE_NAMES[DebugOverlay::PHASE_COUNT] = {"update", "collisions", "drawing",
                                                             "paths", "presenting"};
// Longest type name written beside a box.
const std::size_t LABEL_LENGTH = 12;
// Boxes framed per frame: past this many the frames would hide the game and
// cost more than everything else in the step.
const int MAX_FRAMED_BOXES = 1000;

void toggleShown() { DebugOverlay::getInstance().toggle(); }

// "F12" as the engine's key; KEY_UNDEFINED for "none" (or anything else).
Keyboard::Key keyNamed(const std::string& name) {
  for (int n = 1; n <= 12; n++) {
    if (name == "F" + std::to_string(n)) return static_cast<Keyboard::Key>(Keyboard::F1 + n - 1);
  }
  return Keyboard::KEY_UNDEFINED;
}

std::string milliseconds(long long us) {
  char text[32];
  std::snprintf(text, sizeof text, "%.2f", static_cast<double>(us) / 1000.0);
  return text;
}

Vector viewCorner() { return WorldManager::getInstance().getView().getCorner(); }

// The cells a box edge falls in: a character at cell c covers c - 0.5 up to
// c + 0.5, so a box from 5 to 7 touches cells 5, 6 and 7.
float firstCell(float from) { return std::floor(from + 0.5f); }
float lastCell(float to) { return std::ceil(to - 0.5f); }
}  // namespace

DebugOverlay::DebugOverlay()
    : shown(false), frozen_times(false), key_name("F12"), now_us(0), problems_seen(0),
      notice_until_us(0) {}

DebugOverlay& DebugOverlay::getInstance() {
  static DebugOverlay instance;
  return instance;
}

void DebugOverlay::startUp() {
  const Config& config = Config::getInstance();
  shown = config.getDebugOverlay();
  frozen_times = config.getDebugFreezeTimes();
  key_name = config.getDebugKey();
  last_second.clear();
  wall.delta();
  now_us = 0;
  // Problems met during start-up are seen already (they stopped nothing);
  // later ones, from loading the game's resources on, are shown.
  problems_seen = LogManager::getInstance().getProblems().getProblems().size();
  notice.clear();
  notice_until_us = 0;
  InputManager::getInstance().setReservedKey(keyNamed(key_name), toggleShown);
}

void DebugOverlay::shutDown() {
  InputManager::getInstance().setReservedKey(Keyboard::KEY_UNDEFINED, nullptr);
  shown = false;
}

void DebugOverlay::setShown(bool new_shown) { shown = new_shown; }

bool DebugOverlay::isShown() const { return shown; }

void DebugOverlay::toggle() {
  shown = !shown;
  LogManager::getInstance().writeLog(1, "DebugOverlay::toggle(): overlay %s.", shown ? "shown" : "hidden");
}

void DebugOverlay::setFrozenTimes(bool frozen) { frozen_times = frozen; }

bool DebugOverlay::timesFrozen() const {
  if (frozen_times) return true;
  const Presenter* p_presenter = DisplayManager::getInstance().getPresenter();
  return p_presenter != nullptr && std::string(p_presenter->getName()) == "capture";
}

void DebugOverlay::recordStep(const int* phase_us, int step_us) {
  now_us += wall.delta();
  StepRecord record{now_us, step_us, {}};
  std::copy(phase_us, phase_us + PHASE_COUNT, record.phase_us);
  last_second.push_back(record);
  while (!last_second.empty() && last_second.front().end_us <= now_us - SECOND_US) {
    last_second.pop_front();
  }
}

std::string DebugOverlay::timeLine() const {
  const std::string key = key_name == "none" ? "debug" : "debug (" + key_name + ")";
  if (timesFrozen()) return key + "  -- steps/s  step -- ms, worst -- ms";
  long long total = 0;
  int worst = 0;
  for (const StepRecord& r : last_second) {
    total += r.step_us;
    worst = std::max(worst, r.step_us);
  }
  const long long count = static_cast<long long>(last_second.size());
  return key + "  " + std::to_string(count) + " steps/s  step " +
         milliseconds(count > 0 ? total / count : 0) + " ms, worst " + milliseconds(worst) + " ms";
}

std::string DebugOverlay::phaseLine() const {
  std::string line;
  for (int p = 0; p < PHASE_COUNT; p++) {
    std::string figure = "--";
    if (!timesFrozen()) {
      long long total = 0;
      for (const StepRecord& r : last_second) total += r.phase_us[p];
      figure = milliseconds(last_second.empty() ? 0 : total / static_cast<long long>(last_second.size()));
    }
    line += std::string(p == 0 ? "" : " ") + PHASE_NAMES[p] + " " + figure;
  }
  return line + " ms";
}

std::string DebugOverlay::countLine() const {
  const WorldManager& world = WorldManager::getInstance();
  const ObjectList all = world.getAllObjects(true);
  int solid = 0;
  for (int i = 0; i < all.getCount(); i++) solid += all[i]->isSolid() ? 1 : 0;
  std::string line = "objects " + std::to_string(all.getCount()) + ", solid " + std::to_string(solid) +
                     ", path searches " + std::to_string(PathManager::getInstance().getPendingCount());
  if (all.getCount() > MAX_FRAMED_BOXES) line += ", boxes of the first " + std::to_string(MAX_FRAMED_BOXES) + " framed";
  return line;
}

std::string DebugOverlay::listenerLine() const {
  const InputManager& input = InputManager::getInstance();
  std::string line = "listeners: " + std::string(STEP_EVENT) + " " +
                     std::to_string(GameManager::getInstance().getListenerCount(STEP_EVENT)) + ", " +
                     KEYBOARD_EVENT + " " + std::to_string(input.getListenerCount(KEYBOARD_EVENT)) +
                     ", " + MOUSE_EVENT + " " + std::to_string(input.getListenerCount(MOUSE_EVENT));
  const WorldManager& world = WorldManager::getInstance();
  for (int i = 0; i < world.getInterestCount(); i++) {
    const std::string type = world.getInterestType(i);
    line += ", " + type + " " + std::to_string(world.getListenerCount(type));
  }
  return line;
}

std::vector<std::string> DebugOverlay::statusLines() const {
  return {timeLine(), phaseLine(), countLine(), listenerLine()};
}

std::vector<std::string> DebugOverlay::problemLines() const {
  const std::vector<Problem>& problems = LogManager::getInstance().getProblems().getProblems();
  std::vector<std::string> lines;
  const std::size_t first = problems.size() > PROBLEMS_SHOWN ? problems.size() - PROBLEMS_SHOWN : 0;
  for (std::size_t i = first; i < problems.size(); i++) {
    std::string line = "! " + problems[i].text;
    if (problems[i].count > 1) line += " (x" + std::to_string(problems[i].count) + ")";
    lines.push_back(line);
  }
  return lines;
}

std::string DebugOverlay::noticeLine() const { return notice; }

// A problem first met since the last step becomes the edge notice.
void DebugOverlay::updateNotice() {
  const std::vector<Problem>& problems = LogManager::getInstance().getProblems().getProblems();
  if (problems.size() < problems_seen) problems_seen = 0;  // the log was started again
  if (problems.size() > problems_seen) {
    notice = "! " + problems.back().text;
    notice_until_us = now_us + NOTICE_MILLISECONDS * 1000LL;
    problems_seen = problems.size();
  }
  if (!notice.empty() && now_us >= notice_until_us) notice.clear();
}

void DebugOverlay::drawText(int row, const std::string& text, Color color) const {
  const DisplayManager& display = DisplayManager::getInstance();
  const int width = display.getHorizontalChars();
  // Blanks to the line's end hide what the game drew there.
  std::string line = text.substr(0, static_cast<std::size_t>(std::max(width, 0)));
  line.resize(static_cast<std::size_t>(std::max(width, 0)), ' ');
  display.drawString(viewCorner() + Vector(0, static_cast<float>(row)), line, JUSTIFY_LEFT, color);
}

void DebugOverlay::draw() {
  updateNotice();
  DisplayManager& display = DisplayManager::getInstance();
  if (!display.canDraw()) return;
  const int height = display.getVerticalChars();
  if (!shown) {
    // Only where someone watches a window or page: the terminal's notices
    // wait for the terminal to be given back, and a capture is read by tools.
    const std::string presenter = display.getPresenter()->getName();
    if (!notice.empty() && (presenter == "window" || presenter == "page")) {
      drawText(height - 1, notice, YELLOW);
    }
    return;
  }
  drawBoxes();
  drawPaths();
  drawFollowSlack();
  const std::vector<std::string> status = statusLines();
  for (std::size_t i = 0; i < status.size(); i++) drawText(static_cast<int>(i), status[i], WHITE);
  const std::vector<std::string> problems = problemLines();
  for (std::size_t i = 0; i < problems.size(); i++) {
    drawText(height - static_cast<int>(problems.size() - i), problems[i], RED);
  }
}

// Each object's box framed by the cells around it, with its type on the
// frame's top edge; the box is what lies inside the frame.
void DebugOverlay::drawBoxes() const {
  const DisplayManager& display = DisplayManager::getInstance();
  const WorldManager& world = WorldManager::getInstance();
  const Box view = world.getView();
  const ObjectList all = world.getAllObjects();
  int framed = 0;
  for (int i = 0; i < all.getCount() && framed < MAX_FRAMED_BOXES; i++) {
    const Object* p_o = all[i];
    if (p_o->isViewObject()) continue;
    const Box box = getWorldBox(p_o);
    if (!boxIntersectsBox(box, view)) continue;
    framed++;
    const float left = firstCell(box.getCorner().getX()) - 1;
    const float top = firstCell(box.getCorner().getY()) - 1;
    const float right = std::max(lastCell(box.getCorner().getX() + box.getHorizontal()), left + 1) + 1;
    const float bottom = std::max(lastCell(box.getCorner().getY() + box.getVertical()), top + 1) + 1;
    for (float x = left + 1; x < right; x++) {
      display.drawCharacter(Vector(x, top), '-', CYAN);
      display.drawCharacter(Vector(x, bottom), '-', CYAN);
    }
    for (float y = top + 1; y < bottom; y++) {
      display.drawCharacter(Vector(left, y), '|', CYAN);
      display.drawCharacter(Vector(right, y), '|', CYAN);
    }
    for (const Vector& corner : {Vector(left, top), Vector(right, top), Vector(left, bottom),
                                 Vector(right, bottom)}) {
      display.drawCharacter(corner, '+', CYAN);
    }
    const std::string type = p_o->getType().substr(0, LABEL_LENGTH);
    const std::string label = type.empty() ? "#" + std::to_string(p_o->getId()) : type;
    display.drawString(Vector(left + 1, top), label, JUSTIFY_LEFT, CYAN);
  }
}

// The waypoints still ahead of every object following a path.
void DebugOverlay::drawPaths() const {
  const DisplayManager& display = DisplayManager::getInstance();
  const ObjectList all = WorldManager::getInstance().getAllObjects();
  for (int i = 0; i < all.getCount(); i++) {
    if (!all[i]->getFollowPath()) continue;
    const Path path = all[i]->getPath();
    for (int w = path.getIndex(); w < path.getWaypointCount(); w++) {
      display.drawCharacter(path.getWaypoint(w), '*', MAGENTA);
    }
  }
}

// Where the followed object moves without moving the view: the corners of
// the view's slack.
void DebugOverlay::drawFollowSlack() const {
  const WorldManager& world = WorldManager::getInstance();
  if (world.getViewFollowing() == nullptr) return;
  const Box view = world.getView();
  const float w = view.getHorizontal() * world.getViewSlack().getX();
  const float h = view.getVertical() * world.getViewSlack().getY();
  const Vector centre = view.getCorner() + Vector(view.getHorizontal() / 2, view.getVertical() / 2);
  const Vector corner = centre - Vector(w / 2, h / 2);
  for (const Vector& at : {corner, corner + Vector(w, 0), corner + Vector(0, h), corner + Vector(w, h)}) {
    DisplayManager::getInstance().drawCharacter(at, '+', GREEN);
  }
}

}  // namespace tw
