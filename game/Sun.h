// The sun in the upper left corner; it never moves.
#pragma once

#include "engine/world/Object.h"

namespace veld {

class Sun : public tw::Object {
 public:
  Sun();
};

}  // namespace veld
