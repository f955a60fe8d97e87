#include "game/GameOver.h"

#include "engine/core/EventStep.h"
#include "engine/core/GameManager.h"
#include "engine/display/Sprite.h"
#include "engine/input/EventKeyboard.h"
#include "engine/world/WorldManager.h"
#include "game/GameStart.h"

GameOver::GameOver() : time_to_live(GAME_OVER_DEFAULT_STEPS) {
  setType("GameOver");
  if (setSprite("game_over") == 0) {
    const tw::Sprite* p_sprite = getAnimation().getSprite();
    time_to_live = p_sprite->getFrameCount() * p_sprite->getSlowdown();
  }
  setLocation(tw::CENTER_CENTER);
  registerInterest(tw::STEP_EVENT);
  registerInterest(tw::KEYBOARD_EVENT);
}

GameOver::~GameOver() {
  tw::WorldManager& world = tw::WorldManager::getInstance();
  // While the engine shuts down the world deletes everything itself, and a new
  // start screen could not enter it: nothing to clear, nothing to bring back.
  if (!world.isStarted()) return;
  const tw::ObjectList all = world.getAllObjects(true);
  for (int i = 0; i < all.getCount(); i++) {
    if (all[i]->getType() != "StartGame") world.markForDelete(all[i]);
  }
  for (int i = 0; i < all.getCount(); i++) {
    if (all[i]->getType() == "StartGame") {
      all[i]->setActive(true);
      return;
    }
  }
  new veld::GameStart;
}

int GameOver::eventHandler(const tw::Event* p_e) {
  const std::string type = p_e->getType();
  if (type == tw::STEP_EVENT) {
    time_to_live -= 1;
    if (time_to_live <= 0) tw::WorldManager::getInstance().markForDelete(this);
    return 1;
  }
  if (type == tw::KEYBOARD_EVENT) return handleKeyboard(p_e);
  return 0;
}

int GameOver::handleKeyboard(const tw::Event* p_e) {
  const auto* p_key = static_cast<const tw::EventKeyboard*>(p_e);
  if (p_key->getKeyboardAction() != tw::KEY_PRESSED) return 1;
  if (p_key->getKey() == tw::Keyboard::P) {
    new veld::GameStart;
    tw::WorldManager::getInstance().markForDelete(this);
  } else if (p_key->getKey() == tw::Keyboard::Q) {
    tw::GameManager::getInstance().shutDown();
  }
  return 1;
}

int GameOver::draw() { return tw::Object::draw(); }
