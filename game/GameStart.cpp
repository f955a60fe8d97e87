#include "game/GameStart.h"

#include "engine/loop/GameManager.h"
#include "engine/input/EventKeyboard.h"
#include "engine/world/WorldManager.h"
#include "game/Controls.h"
#include "game/GroundTile.h"
#include "game/Points.h"
#include "game/Profile.h"
#include "game/Resources.h"
#include "game/Runner.h"
#include "game/Spawning.h"
#include "game/Sun.h"
#include "game/Tree.h"

namespace veld {

namespace {
const int GROUND_TILES = 10;
const int BEST_ROW = 17;  // a blank row of the start screen's picture

void placeGround() {
  const float view_height = tw::WorldManager::getInstance().getView().getVertical();
  for (int i = 0; i < GROUND_TILES; i++) {
    auto* p_tile = new GroundTile;
    const tw::Box box = p_tile->getBox();
    const float y = static_cast<float>(
        static_cast<double>(view_height - box.getVertical() * 0.5f) - 0.5);
    p_tile->setPosition(tw::Vector(static_cast<float>(i) * box.getHorizontal(), y));
  }
}
}  // namespace

GameStart::GameStart() {
  setType("StartGame");
  setSprite("game_start");
  setLocation(tw::CENTER_CENTER);
  registerInterest(tw::KEYBOARD_EVENT);
  setActive(true);
  Profile::get().startMusic();
}

GameStart::~GameStart() = default;

int GameStart::eventHandler(const tw::Event* p_e) {
  const auto* p_key = p_e->as<tw::EventKeyboard>();
  if (p_key == nullptr) return 0;
  if (p_key->getKeyboardAction() != tw::KEY_PRESSED) return 1;
  if (p_key->getKey() == tw::Keyboard::P) {
    start();
  } else if (p_key->getKey() == tw::Keyboard::Q) {
    tw::GameManager::getInstance().shutDown();
  }
  return 1;
}

int GameStart::draw() {
  const int result = tw::Object::draw();
  drawCentred(BEST_ROW, "Best score: " + std::to_string(Profile::get().getBest()), tw::WHITE);
  return result;
}

void GameStart::start() {
  tw::WorldManager& world = tw::WorldManager::getInstance();
  const tw::ObjectList active = world.getAllObjects();
  for (int i = 0; i < active.getCount(); i++) {
    if (!Controls::survivesClearing(active[i])) world.markForDelete(active[i]);
  }
  if (points.get() != nullptr) world.markForDelete(points.get());
  auto* p_points = new Points;
  points = ScoreLink(p_points);
  auto* p_tree = new Tree;
  p_tree->setPosition(tw::Vector(0, p_tree->getPosition().getY()));
  p_tree = new Tree;
  p_tree->setPosition(tw::Vector(10, p_tree->getPosition().getY()));
  (new Sun)->setPosition(tw::Vector(4, 2));
  placeGround();
  new Runner(tw::Vector(10, 19.5f));
  new Spawning(p_points);
}

}  // namespace veld
