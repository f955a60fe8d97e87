// A bullet flying in a straight line; what it hits decides its fate.
#pragma once

#include "engine/world/Object.h"

namespace veld {

class Bullet : public tw::Object {
 public:
  explicit Bullet(tw::Vector start);
  int eventHandler(const tw::Event* p_e) override;
};

}  // namespace veld
