#include "engine/world/Solidness.h"

namespace tw {

std::string toString(Solidness solidness) {
  switch (solidness) {
    case HARD:
      return "hard";
    case SOFT:
      return "soft";
    case SPECTRAL:
      return "spectral";
  }
  return "undefined";
}

}  // namespace tw
