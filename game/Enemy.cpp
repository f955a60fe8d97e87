#include "game/Enemy.h"

#include "engine/world/WorldManager.h"
#include "game/Resources.h"

Enemy::Enemy(Points* p_points) : Hazard(p_points), health(1) {}

Enemy::~Enemy() {
  veld::playSound("kill");
  points.award(10);
}

void Enemy::leftOnTheLeft() { tw::WorldManager::getInstance().markForDelete(this); }

void Enemy::hitByBullet(tw::Object* p_bullet) {
  tw::WorldManager& world = tw::WorldManager::getInstance();
  health -= 1;
  world.markForDelete(p_bullet);
  if (health <= 0) world.markForDelete(this);
}
