#include "game/Resources.h"

#include "engine/display/CellGeometry.h"
#include "engine/display/DisplayManager.h"
#include "engine/resources/ResourceManager.h"
#include "game/Profile.h"

namespace veld {

void loadResources() {
  tw::ResourceManager& rm = tw::ResourceManager::getInstance();
  rm.loadSprite("sprites/ground-tile.txt", "ground_tile");
  rm.loadSprite("sprites/runner.txt", "runner");
  rm.loadSprite("sprites/runner-duck.txt", "runner_duck");
  rm.loadSprite("sprites/rock-spr.txt", "rock");
  rm.loadSprite("sprites/panther-spr.txt", "panther");
  rm.loadSprite("sprites/gamestart-spr.txt", "game_start");
  rm.loadSprite("sprites/gameover-spr.txt", "game_over");
  rm.loadSprite("sprites/vulture-spr.txt", "vulture");
  rm.loadSprite("sprites/bullet-spr.txt", "bullet");
  rm.loadSprite("sprites/tree-spr1.txt", "tree1");
  rm.loadSprite("sprites/tree-spr2.txt", "tree2");
  rm.loadSprite("sprites/sun-spr.txt", "sun");
  rm.loadSound("sounds/sfx/jump.wav", "jump");
  rm.loadSound("sounds/sfx/kill_enemy.wav", "kill");
  rm.loadSound("sounds/sfx/player_fail.wav", "fail");
  rm.loadSound("sounds/sfx/shoot.wav", "shoot");
  rm.loadMusic("sounds/background/background_sound.wav", "music");
}

void playSound(const char* label) { Profile::get().playSound(label); }

void drawCentred(int row, const std::string& text, tw::Color color) {
  const tw::DisplayManager& display = tw::DisplayManager::getInstance();
  const float centre = static_cast<float>(display.getHorizontalChars() / 2);
  const tw::Vector where = tw::viewToWorld(tw::Vector(centre, static_cast<float>(row)));
  display.drawString(where, text, tw::JUSTIFY_CENTER, color);
}

}  // namespace veld
