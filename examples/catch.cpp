// Catch the falling letters: move the basket with the arrow keys (or A and D)
// and catch letters before they reach the ground; five missed end the game.
// Shows keystrokes, collisions, out-of-world events and view objects.
//   example_catch [--window | --terminal | --capture]     (Q quits)
#include "tarnwick.h"

namespace {

// The two counters on screen (the world owns them).
tw::Handle<tw::ViewObject> caught;
tw::Handle<tw::ViewObject> missed;

// Counts one more on a counter that still exists; its new value.
int addOne(const tw::Handle<tw::ViewObject>& counter) {
  tw::ViewObject* p_view = counter.get();
  if (p_view == nullptr) return 0;
  p_view->setValue(p_view->getValue() + 1);
  return p_view->getValue();
}

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
    if (p_e->as<tw::EventCollision>() != nullptr) {
      addOne(caught);
    } else if (p_e->as<tw::EventOut>() != nullptr) {
      if (addOne(missed) >= 5) tw::GameManager::getInstance().setGameOver();
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

// The basket: one move per keystroke (a held key moves it at the keyboard's
// repeat rate), the same in a window, a terminal and a page.
class Basket : public tw::Object {
 public:
  Basket() {
    setType("Basket");
    setSolidness(tw::SOFT);
    setBox(tw::Box(tw::Vector(-2.5f, -0.5f), 5, 1));
    setPosition(tw::Vector(40, 21));
    registerInterest(tw::KEYSTROKE_EVENT);
    registerInterest(tw::STEP_EVENT);
  }

  int eventHandler(const tw::Event* p_e) override {
    if (const auto* p_step = p_e->as<tw::EventStep>()) {
      if (p_step->getStepCount() % 20 == 0) {  // a new letter every 20 steps
        new Letter(static_cast<char>('A' + tw::randomNumber() % 26));
      }
      return 1;
    }
    const auto* p_key = p_e->as<tw::EventKeystroke>();
    if (p_key == nullptr) return 0;
    const tw::Keyboard::Key key = p_key->getKey();
    if (key == tw::Keyboard::LEFT_ARROW || key == tw::Keyboard::A) move(-2);
    if (key == tw::Keyboard::RIGHT_ARROW || key == tw::Keyboard::D) move(2);
    if (key == tw::Keyboard::Q) tw::GameManager::getInstance().setGameOver();
    return 1;
  }

  int draw() override {
    return tw::DisplayManager::getInstance().drawString(getPosition(), "\\___/",
                                                        tw::JUSTIFY_CENTER, tw::GREEN);
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
  tw::CommandLine command_line("example_catch");
  const int status = command_line.parse(argc, argv);
  if (status != tw::CommandLine::GO_ON) return status;
  if (!command_line.getArguments().empty()) return command_line.refuse("no arguments are taken");

  tw::GameManager& game = tw::GameManager::getInstance();
  if (game.startUp() != 0) {  // the reason is on standard error and in the log
    game.shutDown();
    return 1;
  }
  caught = counter("Caught", tw::TOP_LEFT, tw::GREEN);
  missed = counter("Missed", tw::TOP_RIGHT, tw::RED);
  new Basket;
  game.run();
  game.shutDown();
  return 0;
}
