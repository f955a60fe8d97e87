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
  if (p_e->getType() != tw::STEP_EVENT) return 0;
  const auto* p_step = static_cast<const tw::EventStep*>(p_e);
  if (p_step->getStepCount() % 30 == 0) {
    score += 1;
    setValue(score);
  }
  return 1;
}
