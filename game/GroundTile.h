// A piece of ground that scrolls left half a column per step and wraps round
// to the right end of the row of tiles.
#pragma once

#include "engine/world/Object.h"

namespace veld {

const float GROUND_SCROLL = 0.5f;  // columns per step

class GroundTile : public tw::Object {
 public:
  GroundTile();
  int eventHandler(const tw::Event* p_e) override;

 private:
  void scroll();
};

}  // namespace veld
