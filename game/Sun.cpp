#include "game/Sun.h"

namespace veld {

Sun::Sun() {
  setType("Sun");
  setSprite("sun");
  setSolidness(tw::SPECTRAL);
  setAltitude(0);
}

}  // namespace veld
