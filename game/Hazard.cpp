#include "game/Hazard.h"

#include "engine/world/EventCollision.h"
#include "engine/world/EventOut.h"
#include "engine/world/WorldManager.h"

Hazard::Hazard(Points* p_points) : points(p_points) {}

int Hazard::eventHandler(const tw::Event* p_e) {
  const std::string type = p_e->getType();
  if (type == tw::OUT_EVENT) {
    if (getPosition().getX() < 0) leftOnTheLeft();
    return 1;
  }
  if (type == tw::COLLISION_EVENT) {
    handleCollision(p_e);
    return 1;
  }
  return 0;
}

void Hazard::handleCollision(const tw::Event* p_e) {
  const auto* p_collision = p_e->as<tw::EventCollision>();
  if (p_collision == nullptr) return;
  tw::Object* p_a = p_collision->getObject1();
  tw::Object* p_b = p_collision->getObject2();
  tw::WorldManager& world = tw::WorldManager::getInstance();
  if (p_a->getType() == "Player" || p_b->getType() == "Player") {
    world.markForDelete(p_a);
    world.markForDelete(p_b);
  } else if (p_a->getType() == "Bullet" || p_b->getType() == "Bullet") {
    hitByBullet(p_a->getType() == "Bullet" ? p_a : p_b);
  }
}

void Hazard::placeOnGround() {
  tw::WorldManager& world = tw::WorldManager::getInstance();
  float right_x = 0;
  float ground_row = 0;
  const tw::ObjectList active = world.getAllObjects();
  for (int i = 0; i < active.getCount(); i++) {
    if (active[i]->getType() != "GroundTile") continue;
    if (active[i]->getPosition().getX() <= right_x) continue;
    right_x = active[i]->getPosition().getX();
    ground_row = active[i]->getPosition().getY();
  }
  tw::Vector where(right_x + 5, ground_row - getBox().getVertical() * 0.5f);
  while (!world.getCollisions(this, where).isEmpty()) where.setX(where.getX() + 1);
  world.moveObject(this, where);
}
