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

// A bullet that has left the world, on whichever side, never comes back.
int Bullet::eventHandler(const tw::Event* p_e) {
  if (p_e->getType() != tw::OUT_EVENT) return 0;
  tw::WorldManager::getInstance().markForDelete(this);
  return 1;
}

}  // namespace veld
