// The start screen: the title picture with looping music and the best score;
// P starts a run (creating every object of it), Q quits.
#pragma once

#include "engine/display/ViewObject.h"
#include "game/ScoreLink.h"

namespace veld {

class GameStart : public tw::ViewObject {
 public:
  GameStart();
  ~GameStart() override;
  int eventHandler(const tw::Event* p_e) override;
  int draw() override;

  // Clears the world and creates a new run.
  void start();

 private:
  ScoreLink points;  // the score display of the last run started; not owned
};

}  // namespace veld
