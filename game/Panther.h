// A panther running in along the ground.
#pragma once

#include "game/Enemy.h"

class Panther : public Enemy {
 public:
  explicit Panther(Points* p_points);
};
