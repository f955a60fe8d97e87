// The game-over screen: shown for the length of its animation (or until P),
// then it clears the world and brings back the start screen. Q quits.
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

 private:
  int handleKeyboard(const tw::Event* p_e);

  int time_to_live;  // steps left before the screen closes itself
};
