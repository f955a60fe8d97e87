#include "game/Boulder.h"

#include "engine/world/WorldManager.h"
#include "game/Resources.h"

Boulder::Boulder(Points* p_points) : Hazard(p_points) {
  setSolidness(tw::SOFT);
  setSprite("rock");
  setType("Boulder");
  setVelocity(tw::Vector(-0.85f, 0));
  placeOnGround();
}

Boulder::~Boulder() { veld::playSound("kill"); }

void Boulder::leftOnTheLeft() {
  points.award(5);
  tw::WorldManager::getInstance().markForDelete(this);
}

void Boulder::hitByBullet(tw::Object* p_bullet) {
  tw::WorldManager::getInstance().markForDelete(p_bullet);
}
