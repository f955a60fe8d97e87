// Catch the falling letters: move the basket with the arrow keys (or A and D)
// and catch letters before they reach the ground; five missed end the game.
// Shows input events, collisions, out-of-world events and view objects.
//   example_catch [--window | --terminal | --capture]
#include <cstdio>
#include <cstdlib>
#include <string>

#include "engine/core/Config.h"
#include "engine/core/EventStep.h"
#include "engine/core/Random.h"
#include "engine/loop/GameManager.h"
#include "engine/display/DisplayManager.h"
#include "engine/display/ViewObject.h"
#include "engine/input/EventKeyboard.h"
#include "engine/world/EventCollision.h"
#include "engine/world/EventOut.h"
#include "engine/world/Object.h"
#include "engine/world/WorldManager.h"

namespace {

tw::ViewObject* p_caught = nullptr;  // the two counters on screen (the world owns them)
tw::ViewObject* p_missed = nullptr;

// A letter that falls until it meets the basket or leaves the world.
class Letter : public tw::Object {
 public:
  explicit Letter(char letter) : ch(letter) {
    setType("Letter");
    setSolidness(tw::SOFT);
    setBox(tw::Box(tw::Vector(-0.5f, -0.5f), 1, 1));  // one cell, centred
    setPosition(tw::Vector(static_cast<float>(2 + tw::randomNumber() % 76), 1));
    setVelocity(tw::Vector(0, 0.25f));  // cells per step
  }
  int eventHandler(const tw::Event* p_e) override {
    if (p_e->getType() == tw::COLLISION_EVENT) {
      p_caught->setValue(p_caught->getValue() + 1);
    } else if (p_e->getType() == tw::OUT_EVENT) {
      p_missed->setValue(p_missed->getValue() + 1);
      if (p_missed->getValue() >= 5) tw::GameManager::getInstance().setGameOver();
    } else {
      return 0;
    }
    tw::WorldManager::getInstance().markForDelete(this);
    return 1;
  }
  int draw() override {
    return tw::DisplayManager::getInstance().drawCharacter(getPosition(), ch, tw::YELLOW);
  }

 private:
  char ch;
};

// The basket: moved by keys, drawn as text; letters collide with its box.
class Basket : public tw::Object {
 public:
  Basket() {
    setType("Basket");
    setSolidness(tw::SOFT);
    setBox(tw::Box(tw::Vector(-2.5f, -0.5f), 5, 1));
    setPosition(tw::Vector(40, 21));
    registerInterest(tw::KEYBOARD_EVENT);
    registerInterest(tw::STEP_EVENT);
  }
  int eventHandler(const tw::Event* p_e) override {
    if (p_e->getType() == tw::STEP_EVENT) {  // a new letter every 20 steps
      const int step = static_cast<const tw::EventStep*>(p_e)->getStepCount();
      if (step % 20 == 0) new Letter(static_cast<char>('A' + tw::randomNumber() % 26));
      return 1;
    }
    if (p_e->getType() != tw::KEYBOARD_EVENT) return 0;
    const auto* p_key = static_cast<const tw::EventKeyboard*>(p_e);
    if (p_key->getKeyboardAction() == tw::KEY_RELEASED) return 0;
    const tw::Keyboard::Key key = p_key->getKey();
    if (key == tw::Keyboard::LEFT_ARROW || key == tw::Keyboard::A) move(-2);
    if (key == tw::Keyboard::RIGHT_ARROW || key == tw::Keyboard::D) move(2);
    if (key == tw::Keyboard::Q) tw::GameManager::getInstance().setGameOver();
    return 1;
  }
  int draw() override {
    return tw::DisplayManager::getInstance().drawString(getPosition(), "\\___/", tw::JUSTIFY_CENTER,
                                                        tw::GREEN);
  }

 private:
  void move(float dx) {
    const float x = getPosition().getX() + dx;
    if (x < 3 || x > 77) return;  // keep the basket on screen
    tw::WorldManager::getInstance().moveObject(this, tw::Vector(x, getPosition().getY()));
  }
};

tw::ViewObject* counter(const char* label, tw::Location where, tw::Color color) {
  auto* p_view = new tw::ViewObject;  // the world owns it
  p_view->setViewString(label);
  p_view->setLocation(where);
  p_view->setColor(color);
  return p_view;
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
  p_caught = counter("Caught", tw::TOP_LEFT, tw::GREEN);
  p_missed = counter("Missed", tw::TOP_RIGHT, tw::RED);
  new Basket;
  game.run();
  game.shutDown();
  return 0;
}
