// A chaser finds its way through a maze to the treasure with the path manager;
// each time it gets there the treasure moves to the maze's other end.
// Shows PathManager::findPath, path events, HARD walls and a view object.
//   example_maze [--window | --terminal | --capture]     (Q quits)
#include <cstdio>
#include <string>

#include "engine/core/Config.h"
#include "engine/loop/GameManager.h"
#include "engine/display/DisplayManager.h"
#include "engine/display/ViewObject.h"
#include "engine/input/EventKeyboard.h"
#include "engine/world/EventPath.h"
#include "engine/path/PathManager.h"
#include "engine/world/EventCollision.h"
#include "engine/world/Object.h"
#include "engine/world/WorldManager.h"

namespace {

// A block of wall cells; HARD objects are what a path goes around.
class Wall : public tw::Object {
 public:
  Wall(int x, int y, int width, int height) : w(width), h(height) {
    setType("Wall");
    setBox(tw::Box(tw::Vector(), static_cast<float>(w - 1), static_cast<float>(h - 1)));
    setPosition(tw::Vector(static_cast<float>(x), static_cast<float>(y)));
  }
  int draw() override {
    const tw::Vector at = getPosition();
    for (int j = 0; j < h; j++) {
      for (int i = 0; i < w; i++) {
        tw::DisplayManager::getInstance().drawCharacter(at + tw::Vector(i, j), '#', tw::BLUE);
      }
    }
    return 0;
  }

 private:
  int w, h;  // cells
};

class Treasure : public tw::Object {
 public:
  Treasure() {
    setType("Treasure");
    setSolidness(tw::SOFT);
    setPosition(tw::Vector(76, 12));
  }
  int draw() override {
    return tw::DisplayManager::getInstance().drawCharacter(getPosition(), '$', tw::YELLOW);
  }
};

class Chaser : public tw::Object {
 public:
  Chaser(Treasure* p_goal, tw::ViewObject* p_count) : p_treasure(p_goal), p_found(p_count) {
    setType("Chaser");
    setSolidness(tw::SOFT);
    setPosition(tw::Vector(3, 12));
    setSpeed(1.0f);  // cells per step along the path
    registerInterest(tw::KEYBOARD_EVENT);
  }
  void chase() {
    tw::PathManager::getInstance().findPath(this, p_treasure->getPosition(), p_treasure);
  }
  int eventHandler(const tw::Event* p_e) override {
    if (p_e->getType() == tw::PATH_EVENT) {
      // Passed on whatever the result: the base class follows a found path
      // and, either way, lets the finished search go.
      return tw::Object::eventHandler(p_e);
    }
    if (p_e->getType() == tw::COLLISION_EVENT) {  // reached: the treasure moves away
      p_found->setValue(p_found->getValue() + 1);
      const float x = p_treasure->getPosition().getX() > 40 ? 3 : 76;
      tw::WorldManager::getInstance().moveObject(p_treasure, tw::Vector(x, 12));
      chase();
      return 1;
    }
    if (p_e->getType() == tw::KEYBOARD_EVENT &&
        static_cast<const tw::EventKeyboard*>(p_e)->getKey() == tw::Keyboard::Q) {
      tw::GameManager::getInstance().setGameOver();
      return 1;
    }
    return 0;
  }
  int draw() override {
    return tw::DisplayManager::getInstance().drawCharacter(getPosition(), 'C', tw::GREEN);
  }

 private:
  Treasure* p_treasure;     // not owned
  tw::ViewObject* p_found;  // not owned
};

// A border, and seven inner walls with a gap at alternate ends: one long
// winding corridor from the left end to the right.
void buildMaze() {
  new Wall(0, 2, 80, 1);
  new Wall(0, 22, 80, 1);
  new Wall(0, 3, 1, 19);
  new Wall(79, 3, 1, 19);
  for (int k = 1; k <= 7; k++) {
    const bool gap_at_top = k % 2 == 1;
    new Wall(10 * k, gap_at_top ? 8 : 3, 1, 14);
  }
}

}  // namespace

int main(int argc, char* argv[]) {
  for (int i = 1; i < argc; i++) {  // --window, --terminal or --capture
    const std::string arg = argv[i];
    if (arg == "--window" || arg == "--terminal" || arg == "--capture") {
      tw::Config::getInstance().addOverride("display:" + arg.substr(2));
    } else {
      std::fprintf(stderr, "unknown option '%s' (--window, --terminal or --capture)\n", arg.c_str());
      return 2;
    }
  }
  tw::GameManager& game = tw::GameManager::getInstance();
  if (game.startUp() != 0) {  // the reason is on standard error and in the log
    game.shutDown();
    return 1;
  }
  auto* p_found = new tw::ViewObject;
  p_found->setViewString("Found");
  p_found->setLocation(tw::TOP_CENTER);
  buildMaze();
  auto* p_chaser = new Chaser(new Treasure, p_found);
  p_chaser->chase();
  game.run();
  game.shutDown();
  return 0;
}
