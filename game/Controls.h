// Veld's keys for every screen: M switches music and sound effects off and on
// (a marker shows when they are off); Esc or P pauses a run behind a "PAUSED"
// box until Esc or P again, and Q while paused quits. It lives as long as the
// program: clearing the world for a new run or start screen leaves it.
#pragma once

#include "engine/world/Object.h"

namespace veld {

const char* const CONTROLS_TYPE = "Controls";

class Controls : public tw::Object {
 public:
  Controls();
  int eventHandler(const tw::Event* p_e) override;
  int draw() override;

  // Whether clearing the world spares this object (only the controls).
  static bool survivesClearing(const tw::Object* p_o);

 private:
  static bool runInProgress();
  void pressed(int key) const;
};

}  // namespace veld
