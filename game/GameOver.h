// The game-over screen: shown for the length of its animation (or until P),
// with the run's score against the best ("New best!" when beaten); then it
// clears the world and brings back the start screen. Q quits.
#pragma once

#include "engine/display/ViewObject.h"

const int GAME_OVER_DEFAULT_STEPS = 120;  // without a sprite

class GameOver : public tw::ViewObject {
 public:
  GameOver();
  ~GameOver() override;
  int eventHandler(const tw::Event* p_e) override;
  int draw() override;

  int getTimeToLive() const { return time_to_live; }
  int getFinalScore() const { return final_score; }
  bool isNewBest() const { return new_best; }

 private:
  int handleKeyboard(const tw::Event* p_e);

  int time_to_live;  // steps left before the screen closes itself
  int final_score;   // the run's score when the runner fell
  bool new_best;
};
