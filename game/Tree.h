// A tree drifting left at a random speed; when it leaves the world it comes
// back from the right with a new speed.
#pragma once

#include "engine/world/Object.h"

namespace veld {

class Tree : public tw::Object {
 public:
  Tree();
  int eventHandler(const tw::Event* p_e) override;

 private:
  void reenter();

  int row;  // the y at which the tree is placed, every time
};

}  // namespace veld
