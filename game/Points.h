// The score display: one point every 30 steps, plus what hazards award; shown
// in yellow at the top right. Hazards add to score directly.
#pragma once

#include "engine/display/ViewObject.h"

class Points : public tw::ViewObject {
 public:
  Points();
  ~Points() override;
  int eventHandler(const tw::Event* p_e) override;

  int score;
};
