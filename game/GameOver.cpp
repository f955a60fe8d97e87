#include "game/GameOver.h"

#include "engine/core/EventStep.h"
#include "engine/loop/GameManager.h"
#include "engine/world/Sprite.h"
#include "engine/input/EventKeyboard.h"
#include "engine/world/WorldManager.h"
#include "game/Controls.h"
#include "game/GameStart.h"
#include "game/Points.h"
#include "game/Profile.h"
#include "game/Resources.h"

namespace {
const int SCORE_ROW = 14;  // a blank row inside the game-over picture

// The run's score as it stands (the display may lag behind it); 0 without one.
int runScore() {
  const tw::ObjectList all = tw::WorldManager::getInstance().getAllObjects(true);
  for (int i = 0; i < all.getCount(); i++) {
    if (const auto* p_points = dynamic_cast<const Points*>(all[i])) return p_points->score;
  }
  return 0;
}
}  // namespace

GameOver::GameOver()
    : time_to_live(GAME_OVER_DEFAULT_STEPS), final_score(runScore()), new_best(false) {
  new_best = veld::Profile::get().offerScore(final_score);
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
    if (all[i]->getType() != "StartGame" && !veld::Controls::survivesClearing(all[i])) {
      world.markForDelete(all[i]);
    }
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
  const auto* p_key = p_e->as<tw::EventKeyboard>();
  if (p_key == nullptr || p_key->getKeyboardAction() != tw::KEY_PRESSED) return 1;
  if (p_key->getKey() == tw::Keyboard::P) {
    new veld::GameStart;
    tw::WorldManager::getInstance().markForDelete(this);
  } else if (p_key->getKey() == tw::Keyboard::Q) {
    tw::GameManager::getInstance().shutDown();
  }
  return 1;
}

int GameOver::draw() {
  const int result = tw::Object::draw();
  const std::string best = new_best ? "New best!"
                                    : "Best: " + std::to_string(veld::Profile::get().getBest());
  veld::drawCentred(SCORE_ROW, "Score: " + std::to_string(final_score) + "    " + best,
                    new_best ? tw::YELLOW : tw::WHITE);
  return result;
}
