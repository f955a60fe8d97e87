#include "game/GroundTile.h"

#include "engine/core/EventStep.h"
#include "engine/world/WorldManager.h"

namespace veld {

GroundTile::GroundTile() {
  setType("GroundTile");
  setSolidness(tw::SOFT);
  setAltitude(0);
  registerInterest(tw::STEP_EVENT);
  setSprite("ground_tile");
}

int GroundTile::eventHandler(const tw::Event* p_e) {
  if (p_e->getType() != tw::STEP_EVENT) return 0;
  scroll();
  return 1;
}

// The tiles lie side by side in a ring: one that has scrolled off the left
// moves on by the whole ring's width, so the strip stays closed whichever
// tile's turn comes first in a step.
void GroundTile::scroll() {
  tw::Vector pos = getPosition();
  pos.setX(pos.getX() - GROUND_SCROLL);
  const float width = getBox().getHorizontal();
  if (pos.getX() < -width) {
    int tiles = 0;
    const tw::ObjectList active = tw::WorldManager::getInstance().getAllObjects();
    for (int i = 0; i < active.getCount(); i++) tiles += active[i]->getType() == "GroundTile";
    pos.setX(pos.getX() + static_cast<float>(tiles) * width);
  }
  setPosition(pos);
}

}  // namespace veld
