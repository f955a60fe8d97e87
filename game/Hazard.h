// What boulders, panthers and vultures share: they roll or fly in from the
// right, award points through a link to the score, and react to leaving on the
// left and to collisions with the runner and bullets.
#pragma once

#include "engine/world/Object.h"
#include "game/ScoreLink.h"

class Points;

class Hazard : public tw::Object {
 public:
  explicit Hazard(Points* p_points);
  int eventHandler(const tw::Event* p_e) override;

  // Puts the hazard on the ground just right of the rightmost ground tile,
  // moved further right while anything is in the way.
  void placeOnGround();
  veld::ScoreLink& getPoints() { return points; }

 protected:
  // Called when the hazard has left the world on the left.
  virtual void leftOnTheLeft() = 0;
  // Called when a bullet (not the runner) met this hazard.
  virtual void hitByBullet(tw::Object* p_bullet) = 0;

  veld::ScoreLink points;

 private:
  void handleCollision(const tw::Event* p_e);
};
