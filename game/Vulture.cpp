#include "game/Vulture.h"

#include "engine/world/WorldManager.h"

Vulture::Vulture(Points* p_points) : Enemy(p_points) {
  setSolidness(tw::SOFT);
  setSprite("vulture");
  setType("Vulture");
  setVelocity(tw::Vector(-0.85f, 0));
  tw::WorldManager& world = tw::WorldManager::getInstance();
  const tw::Box boundary = world.getBoundary();
  const int width = static_cast<int>(boundary.getHorizontal());
  const int height = static_cast<int>(boundary.getVertical());
  tw::Vector where(static_cast<float>(width + 5), static_cast<float>(height * 0.7));
  while (!world.getCollisions(this, where).isEmpty()) where.setX(where.getX() - 1);
  world.moveObject(this, where);
}
