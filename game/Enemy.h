// A panther or vulture: one bullet destroys it, and its destruction, for
// whatever reason, plays "kill" and awards 10 points.
#pragma once

#include "game/Hazard.h"

class Enemy : public Hazard {
 public:
  explicit Enemy(Points* p_points);
  ~Enemy() override;
  int getHealth() const { return health; }

 protected:
  void leftOnTheLeft() override;
  void hitByBullet(tw::Object* p_bullet) override;

  int health;
};
