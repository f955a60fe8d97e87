// @NAME@: a first game on Tarnwick. A hero read from a sprite file walks
// under the arrow keys (or W, A, S, D), a line of text greets the player and
// a counter shows the steps taken; Q quits.
//   @NAME@ [--window | --terminal | --capture]
#include "tarnwick.h"

namespace {

// The hero: drawn from its sprite (sprites/hero.txt), one cell per keystroke.
class Hero : public tw::Object {
 public:
  explicit Hero(tw::ViewObject* p_counter) : steps(p_counter) {
    setType("Hero");
    setSprite("hero");  // its box fits the sprite; the frames play by themselves
    setPosition(tw::Vector(40, 12));
    registerInterest(tw::KEYSTROKE_EVENT);
  }

  int eventHandler(const tw::Event* p_e) override {
    const auto* p_key = p_e->as<tw::EventKeystroke>();
    if (p_key == nullptr) return 0;
    switch (p_key->getKey()) {
      case tw::Keyboard::LEFT_ARROW: case tw::Keyboard::A: walk(-1, 0); break;
      case tw::Keyboard::RIGHT_ARROW: case tw::Keyboard::D: walk(1, 0); break;
      case tw::Keyboard::UP_ARROW: case tw::Keyboard::W: walk(0, -1); break;
      case tw::Keyboard::DOWN_ARROW: case tw::Keyboard::S: walk(0, 1); break;
      case tw::Keyboard::Q: tw::GameManager::getInstance().setGameOver(); break;
      default: return 0;
    }
    return 1;
  }

 private:
  void walk(float dx, float dy) {
    tw::WorldManager::getInstance().moveObject(this, getPosition() + tw::Vector(dx, dy));
    tw::ViewObject* p_counter = steps.get();
    if (p_counter != nullptr) p_counter->setValue(p_counter->getValue() + 1);
  }

  tw::Handle<tw::ViewObject> steps;  // the world owns the counter
};

// A line of text at the top of the screen.
class Greeting : public tw::Object {
 public:
  Greeting() {
    setType("Greeting");
    setSolidness(tw::SPECTRAL);
    setPosition(tw::Vector(40, 2));
  }
  int draw() override {
    return tw::DisplayManager::getInstance().drawString(
        getPosition(), "Hello from @NAME@! Arrow keys walk, Q quits.", tw::JUSTIFY_CENTER,
        tw::YELLOW);
  }
};

}  // namespace

int main(int argc, char* argv[]) {
  tw::CommandLine command_line("@NAME@");
  const int status = command_line.parse(argc, argv);
  if (status != tw::CommandLine::GO_ON) return status;
  if (!command_line.getArguments().empty()) return command_line.refuse("no arguments are taken");

  tw::GameManager& game = tw::GameManager::getInstance();
  if (game.startUp() != 0) {  // the reason is on standard error and in the log
    game.shutDown();
    return 1;
  }
  if (tw::ResourceManager::getInstance().loadSprite("sprites/hero.txt", "hero") != 0) {
    game.shutDown();  // the log says why
    return 1;
  }
  auto* p_counter = new tw::ViewObject;  // the world owns it
  p_counter->setViewString("Steps");
  p_counter->setLocation(tw::TOP_RIGHT);
  new Greeting;
  new Hero(p_counter);
  game.run();
  game.shutDown();
  return 0;
}
