#include "game/Panther.h"

Panther::Panther(Points* p_points) : Enemy(p_points) {
  setSolidness(tw::SOFT);
  setSprite("panther");
  setType("Panther");
  setVelocity(tw::Vector(-0.9f, 0));
  placeOnGround();
}
