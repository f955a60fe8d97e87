// A chaser finds its way through a maze to the treasure with the path manager;
// each time it gets there the treasure moves to the maze's other end.
// Shows PathManager::findPath to a target it runs into, path events, HARD
// walls, handles and a view object.
//   example_maze [--window | --terminal | --capture]     (Q quits)
#include "tarnwick.h"

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
  Chaser(Treasure* p_goal, tw::ViewObject* p_count) : treasure(p_goal), found(p_count) {
    setType("Chaser");
    setSolidness(tw::SOFT);
    setPosition(tw::Vector(3, 12));
    setSpeed(1.0f);  // cells per step along the path
    registerInterest(tw::KEYSTROKE_EVENT);
  }

  // The path ends on the treasure, so the chaser runs into it.
  void chase() {
    Treasure* p_treasure = treasure.get();
    if (p_treasure == nullptr) return;
    tw::PathManager::getInstance().findPath(this, p_treasure->getPosition(), p_treasure,
                                            tw::ARRIVE_OVERLAPPING);
  }

  int eventHandler(const tw::Event* p_e) override {
    if (p_e->as<tw::EventPath>() != nullptr) {
      // Passed on whatever the result: the base class follows a found path
      // and, either way, lets the finished search go.
      return tw::Object::eventHandler(p_e);
    }
    if (p_e->as<tw::EventCollision>() != nullptr) {
      reached();
      return 1;
    }
    const auto* p_key = p_e->as<tw::EventKeystroke>();
    if (p_key != nullptr && p_key->getKey() == tw::Keyboard::Q) {
      tw::GameManager::getInstance().setGameOver();
      return 1;
    }
    return 0;
  }
  int draw() override {
    return tw::DisplayManager::getInstance().drawCharacter(getPosition(), 'C', tw::GREEN);
  }

 private:
  // Reached: one more found, and the treasure moves to the maze's other end.
  void reached() {
    Treasure* p_treasure = treasure.get();
    if (p_treasure == nullptr) return;
    if (tw::ViewObject* p_found = found.get()) p_found->setValue(p_found->getValue() + 1);
    const float x = p_treasure->getPosition().getX() > 40 ? 3 : 76;
    tw::WorldManager::getInstance().moveObject(p_treasure, tw::Vector(x, 12));
    chase();
  }

  tw::Handle<Treasure> treasure;    // the world owns it
  tw::Handle<tw::ViewObject> found;
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
  tw::CommandLine command_line("example_maze");
  const int status = command_line.parse(argc, argv);
  if (status != tw::CommandLine::GO_ON) return status;
  if (!command_line.getArguments().empty()) return command_line.refuse("no arguments are taken");

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
