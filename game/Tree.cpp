#include "game/Tree.h"

#include <cstdlib>

#include "engine/core/Random.h"
#include "engine/world/EventOut.h"
#include "engine/world/WorldManager.h"

namespace veld {

Tree::Tree() : row(13) {
  setType("Tree");
  setSprite("tree1");
  setSolidness(tw::SPECTRAL);
  setVelocity(tw::Vector(-1.0f / static_cast<float>(tw::randomNumber() % 10 + 2), 0));
  setAltitude(0);
  const int width = static_cast<int>(tw::WorldManager::getInstance().getBoundary().getHorizontal());
  const int x = width > 0 ? tw::randomNumber() % width : 0;
  setPosition(tw::Vector(static_cast<float>(x), static_cast<float>(row)));
}

int Tree::eventHandler(const tw::Event* p_e) {
  if (p_e->getType() != tw::OUT_EVENT) return 0;
  reenter();
  return 1;
}

void Tree::reenter() {
  const float width = tw::WorldManager::getInstance().getBoundary().getHorizontal();
  setPosition(tw::Vector(width + static_cast<float>(tw::randomNumber() % 20), static_cast<float>(row)));
  setVelocity(tw::Vector(static_cast<float>(-1.0 / (tw::randomNumber() % 10 + 2)), 0));
}

}  // namespace veld
