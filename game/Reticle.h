// The red '+' that follows the mouse pointer; it aims the runner's shots.
#pragma once

#include "engine/world/Object.h"

namespace veld {

class Reticle : public tw::Object {
 public:
  Reticle();
  int eventHandler(const tw::Event* p_e) override;
  int draw() override;
};

}  // namespace veld
