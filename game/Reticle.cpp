#include "game/Reticle.h"

#include "engine/loop/GameManager.h"
#include "engine/display/DisplayManager.h"
#include "engine/input/EventMouse.h"
#include "engine/world/WorldManager.h"

namespace veld {

Reticle::Reticle() {
  setSolidness(tw::SPECTRAL);
  setAltitude(tw::MAX_ALTITUDE);
  registerInterest(tw::MOUSE_EVENT);
  const tw::Box boundary = tw::WorldManager::getInstance().getBoundary();
  const int width = static_cast<int>(boundary.getHorizontal());
  const int height = static_cast<int>(boundary.getVertical());
  setPosition(tw::Vector(static_cast<float>(width / 2), static_cast<float>(height / 2)));
}

int Reticle::eventHandler(const tw::Event* p_e) {
  const auto* p_mouse = p_e->as<tw::EventMouse>();
  if (p_mouse == nullptr || p_mouse->getMouseAction() != tw::MOUSE_MOVED) return 0;
  if (tw::GameManager::getInstance().isPaused()) return 1;  // nothing moves while paused
  setPosition(p_mouse->getMousePosition());
  return 1;
}

int Reticle::draw() {
  return tw::DisplayManager::getInstance().drawCharacter(getPosition(), '+', tw::RED, 0);
}

}  // namespace veld
