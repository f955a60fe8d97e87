#include "game/Bullet.h"

#include "engine/world/EventOut.h"
#include "engine/world/WorldManager.h"

namespace veld {

Bullet::Bullet(tw::Vector start) {
  setType("Bullet");
  setSprite("bullet");
  setSolidness(tw::SOFT);
  setAltitude(2);
  setPosition(start);
}

int Bullet::eventHandler(const tw::Event* p_e) {
  if (p_e->getType() != tw::OUT_EVENT) return 0;
  tw::WorldManager& world = tw::WorldManager::getInstance();
  if (getPosition().getX() > world.getBoundary().getHorizontal() + 1) world.markForDelete(this);
  return 1;
}

}  // namespace veld
