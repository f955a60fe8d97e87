// A boulder rolling along the ground: it cannot be shot (bullets vanish on it)
// and is worth 5 points when it leaves on the left.
#pragma once

#include "game/Hazard.h"

class Boulder : public Hazard {
 public:
  explicit Boulder(Points* p_points);
  ~Boulder() override;

 protected:
  void leftOnTheLeft() override;
  void hitByBullet(tw::Object* p_bullet) override;
};
