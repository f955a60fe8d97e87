#include "game/GroundTile.h"

#include <algorithm>

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

void GroundTile::scroll() {
  tw::Vector pos = getPosition();
  pos.setX(pos.getX() - GROUND_SCROLL);
  setPosition(pos);
  const float width = getBox().getHorizontal();
  if (-width <= pos.getX()) return;
  float rightmost = pos.getX();
  const tw::ObjectList active = tw::WorldManager::getInstance().getAllObjects();
  for (int i = 0; i < active.getCount(); i++) {
    if (active[i]->getType() == "GroundTile") {
      rightmost = std::max(rightmost, active[i]->getPosition().getX());
    }
  }
  pos.setX(rightmost + width);
  setPosition(pos);
}

}  // namespace veld
