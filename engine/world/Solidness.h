// How an object takes part in collisions: HARD blocks, SOFT only reports,
// SPECTRAL takes no part.
#pragma once

#include "engine/platform/Export.h"

#include <string>

namespace tw {

enum Solidness {
  HARD = 0,
  SOFT = 1,
  SPECTRAL = 2,
};

// "hard", "soft", "spectral", or "undefined" for any other value.
TW_API std::string toString(Solidness solidness);

}  // namespace tw
