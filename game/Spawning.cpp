#include "game/Spawning.h"

#include <algorithm>
#include <cstdlib>

#include "engine/core/EventStep.h"
#include "engine/core/Random.h"
#include "game/Boulder.h"
#include "game/Panther.h"
#include "game/Points.h"
#include "game/Vulture.h"

Spawning::Spawning(Points* p_points) : countdown(SPAWN_INTERVAL), points(p_points) {
  setType("Spawning");
  registerInterest(tw::STEP_EVENT);
}

int Spawning::intervalFor(int score) {
  const int level = score / 25;
  return std::max(SPAWN_INTERVAL - 20 * level, SPAWN_MINIMUM);
}

int Spawning::eventHandler(const tw::Event* p_e) {
  if (p_e->getType() != tw::STEP_EVENT) return 0;
  Points* p_points = points.get();
  if (p_points == nullptr) return 0;
  const int interval = intervalFor(p_points->score);
  countdown -= 1;
  if (countdown > 0) return 1;
  spawn();
  countdown = interval;
  return 1;
}

void Spawning::spawn() {
  Points* p_points = points.get();
  switch (tw::randomNumber() % 3) {
    case 0:
      new Boulder(p_points);
      break;
    case 1:
      new Panther(p_points);
      break;
    default:
      new Vulture(p_points);
      break;
  }
}
