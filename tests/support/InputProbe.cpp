#include "tests/support/InputProbe.h"

#include "engine/core/EventStep.h"
#include "engine/core/LogManager.h"
#include "engine/input/InputManager.h"
#include "engine/loop/GameManager.h"

namespace tw_test {

namespace {
const char* keyName(tw::Keyboard::Key key) {
  return key == tw::Keyboard::LEFT_ARROW ? "LEFT_ARROW" : "DOWN_ARROW";
}
}  // namespace

InputProbe::InputProbe(bool on_steps) {
  setType("InputProbe");
  setSolidness(tw::SPECTRAL);
  registerInterest(tw::KEYSTROKE_EVENT);
  if (on_steps) registerInterest(tw::STEP_EVENT);
}

int InputProbe::eventHandler(const tw::Event* p_e) {
  if (p_e->as<tw::EventStep>() != nullptr) {
    sample();
    return 1;
  }
  const auto* p_key = p_e->as<tw::EventKeystroke>();
  if (p_key == nullptr) return 0;
  if (p_key->getKey() == tw::Keyboard::Q) tw::GameManager::getInstance().setGameOver();
  for (int i = 0; i < 2; i++) {
    if (INPUT_SCRIPT[i].key != p_key->getKey()) continue;
    (p_key->isRepeat() ? tallies[i].repeats : tallies[i].strokes)++;
    if (!p_key->isRepeat()) tw::LogManager::getInstance().writeLog("%s", STROKE_LINE);
  }
  if (p_key->getKey() == tw::Keyboard::LEFT_ARROW && !p_key->isRepeat()) moved--;
  return 1;
}

void InputProbe::sample() {
  const tw::InputManager& im = tw::InputManager::getInstance();
  for (int i = 0; i < 2; i++) {
    const tw::Keyboard::Key key = INPUT_SCRIPT[i].key;
    tallies[i].pressed += im.wasKeyPressed(key) ? 1 : 0;
    tallies[i].released += im.wasKeyReleased(key) ? 1 : 0;
    tallies[i].down = im.isKeyDown(key);
  }
}

std::string InputProbe::report() const {
  std::string out;
  for (int i = 0; i < 2; i++) {
    const Tally& t = tallies[i];
    out += std::string(keyName(INPUT_SCRIPT[i].key)) + " strokes " + std::to_string(t.strokes) +
           " repeats " + (t.repeats > 0 ? "yes" : "no") + " pressed " +
           std::to_string(t.pressed) + " released " + std::to_string(t.released) +
           " down-at-end " + (t.down ? "yes" : "no") + "\n";
  }
  return out + "moved " + std::to_string(moved) + "\n";
}

}  // namespace tw_test
