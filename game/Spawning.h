// Brings a random boulder, panther or vulture every so many steps, more often
// as the score grows.
#pragma once

#include "engine/world/Object.h"
#include "game/ScoreLink.h"

class Points;

const int SPAWN_INTERVAL = 150;  // steps, at score 0
const int SPAWN_MINIMUM = 35;    // steps, however high the score

class Spawning : public tw::Object {
 public:
  explicit Spawning(Points* p_points);
  int eventHandler(const tw::Event* p_e) override;

  int getCountdown() const { return countdown; }
  // Steps between spawns at this score.
  static int intervalFor(int score);

 private:
  void spawn();

  int countdown;  // steps to the next spawn
  veld::ScoreLink points;
};
