// Sprites and shapes: a bird loaded from a sprite file flaps its wings (its
// animation) as it flies across the screen, above a circle that grows and
// shrinks, a square and a triangle, under a panel drawn with box-drawing
// characters and shades, beside a bar of blocks and shades that fills and
// empties. Shapes are drawn in pixels in a window and as '#' cells in a
// terminal; in a terminal without a UTF-8 locale the box drawing shows as
// '+', '-' and '|', blocks and shades as '#'.
//   example_showcase [--window | --terminal | --capture]     (Q quits)
#include <string>

#include "tarnwick.h"

namespace {

// Flies to the right and comes back in on the left.
class Bird : public tw::Object {
 public:
  Bird() {
    setType("Bird");
    setSolidness(tw::SPECTRAL);
    setSprite("bird");  // the box fits the sprite; its frames play by themselves
    setPosition(tw::Vector(10, 6));
    setVelocity(tw::Vector(0.4f, 0));  // cells per step
  }
  int eventHandler(const tw::Event* p_e) override {
    if (p_e->as<tw::EventOut>() == nullptr) return 0;
    setPosition(tw::Vector(-3, getPosition().getY()));
    return 1;
  }
};

// An object drawn only by its shape; a pulsing one changes size every step.
class Figure : public tw::Object {
 public:
  Figure(tw::ShapeType type, tw::Color color, float x, bool pulse) : pulsing(pulse) {
    setType("Figure");
    setSolidness(tw::SPECTRAL);
    setPosition(tw::Vector(x, 16));
    tw::Shape shape;
    shape.setType(type);
    shape.setColor(color);
    shape.setSize(40);  // pixels
    setShape(shape);
    registerInterest(tw::STEP_EVENT);
    registerInterest(tw::KEYSTROKE_EVENT);
  }

  int eventHandler(const tw::Event* p_e) override {
    if (const auto* p_key = p_e->as<tw::EventKeystroke>()) {
      if (p_key->getKey() == tw::Keyboard::Q) tw::GameManager::getInstance().setGameOver();
      return 1;
    }
    const auto* p_step = p_e->as<tw::EventStep>();
    if (p_step == nullptr || !pulsing) return 0;
    const int step = p_step->getStepCount();
    tw::Shape shape = getShape();
    shape.setSize(static_cast<float>(25 + step % 30));  // 25 to 54 pixels and back to 25
    setShape(shape);
    return 1;
  }
  int draw() override {
    tw::Object::draw();  // the shape
    return tw::DisplayManager::getInstance().drawString(getPosition() + tw::Vector(0, 4),
                                                        getShape().toString().substr(0, 8),
                                                        tw::JUSTIFY_CENTER, tw::WHITE);
  }

 private:
  bool pulsing;
};

// The panel: a sprite of box-drawing characters and shades (UTF-8 in its
// file), two frames whose shades change places. A sprite is centred on its
// position, so one of even width (24) sits on whole cells, in line with the
// text, only at half a cell.
class Panel : public tw::Object {
 public:
  Panel() {
    setType("Panel");
    setSolidness(tw::SPECTRAL);
    setSprite("panel");
    setPosition(tw::Vector(66.5f, 2));
  }
};

// A bar of ten cells that fills with full blocks over light shades and
// empties again, drawn as a UTF-8 string: one character, one cell.
class Bar : public tw::Object {
 public:
  Bar() {
    setType("Bar");
    setSolidness(tw::SPECTRAL);
    setPosition(tw::Vector(2, 23));
    registerInterest(tw::STEP_EVENT);
  }
  int eventHandler(const tw::Event* p_e) override {
    const auto* p_step = p_e->as<tw::EventStep>();
    if (p_step == nullptr) return 0;
    const int step = p_step->getStepCount() / 5 % 20;
    filled = step <= 10 ? step : 20 - step;
    return 1;
  }
  int draw() override {
    std::string bar = "\u2665 ";
    for (int i = 0; i < 10; i++) bar += i < filled ? "\u2588" : "\u2591";
    return tw::DisplayManager::getInstance().drawString(getPosition(), bar, tw::JUSTIFY_LEFT,
                                                        tw::RED);
  }

 private:
  int filled = 0;  // cells of the ten
};

}  // namespace

int main(int argc, char* argv[]) {
  tw::CommandLine command_line("example_showcase");
  const int status = command_line.parse(argc, argv);
  if (status != tw::CommandLine::GO_ON) return status;
  if (!command_line.getArguments().empty()) return command_line.refuse("no arguments are taken");

  tw::GameManager& game = tw::GameManager::getInstance();
  if (game.startUp() != 0) {  // the reason is on standard error and in the log
    game.shutDown();
    return 1;
  }
  // Sprite files lie beside the program, in example-data/.
  tw::ResourceManager& resources = tw::ResourceManager::getInstance();
  if (resources.loadSprite("example-data/bird.txt", "bird") != 0 ||
      resources.loadSprite("example-data/panel.txt", "panel") != 0) {
    game.shutDown();
    return 1;  // why is in the log (try: tw-sprite check example-data/*.txt)
  }
  new Bird;
  new Panel;
  new Bar;
  new Figure(tw::CIRCLE, tw::RED, 20, true);
  new Figure(tw::SQUARE, tw::GREEN, 40, false);
  new Figure(tw::TRIANGLE, tw::MAGENTA, 60, false);
  game.run();
  game.shutDown();
  return 0;
}
