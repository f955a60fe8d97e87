// A full screen of changing characters: an object that draws every cell of
// the grid each step, each cell a different character and colour from the
// step before, and ends the game after a number of steps (0: never). The
// heaviest drawing a character-cell game asks of a presenter.
#pragma once

#include "engine/core/EventStep.h"
#include "engine/display/DisplayManager.h"
#include "engine/loop/GameManager.h"
#include "engine/world/Object.h"

namespace tw_bench {

class ScreenFill : public tw::Object {
 public:
  explicit ScreenFill(int steps_wanted) : steps_left(steps_wanted) {
    setType("ScreenFill");
    setSolidness(tw::SPECTRAL);
    registerInterest(tw::STEP_EVENT);
  }
  int eventHandler(const tw::Event* p_e) override {
    if (p_e->getType() != tw::STEP_EVENT) return 0;
    step++;
    if (steps_left > 0 && --steps_left == 0) tw::GameManager::getInstance().setGameOver();
    return 1;
  }
  int draw() override {
    const tw::DisplayManager& display = tw::DisplayManager::getInstance();
    for (int y = 0; y < display.getVerticalChars(); y++) {
      for (int x = 0; x < display.getHorizontalChars(); x++) {
        const int n = x * 7 + y * 13 + step;
        display.drawCharacter(tw::Vector(static_cast<float>(x), static_cast<float>(y)),
                              static_cast<char>('!' + n % 94), static_cast<tw::Color>(1 + n % 7));
      }
    }
    return 0;
  }

 private:
  int steps_left;
  int step = 0;
};

}  // namespace tw_bench
