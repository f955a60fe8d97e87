// A vulture flying in at two thirds of the screen's height.
#pragma once

#include "game/Enemy.h"

class Vulture : public Enemy {
 public:
  explicit Vulture(Points* p_points);
};
