#include "game/Points.h"

#include "engine/core/EventStep.h"

Points::Points() : score(0) {
  setLocation(tw::TOP_RIGHT);
  setViewString("Score: ");
  setColor(tw::YELLOW);
  registerInterest(tw::STEP_EVENT);
}

Points::~Points() = default;

int Points::eventHandler(const tw::Event* p_e) {
  const auto* p_step = p_e->as<tw::EventStep>();
  if (p_step == nullptr) return 0;
  if (p_step->getStepCount() % 30 == 0) {
    score += 1;
    setValue(score);
  }
  return 1;
}
