// The program entry: starts the engine, loads the game, creates the start
// screen and the pause object, runs the game loop and shuts everything down.
// The exit code is always 0.
#include "engine/core/GameManager.h"
#include "engine/core/LogManager.h"
#include "engine/core/Pause.h"
#include "engine/world/WorldManager.h"
#include "game/GameStart.h"
#include "game/Resources.h"

int main() {
  tw::GameManager& game_manager = tw::GameManager::getInstance();
  if (game_manager.startUp() != 0) {
    tw::LogManager::getInstance().writeLog("Error starting game manager!");
    game_manager.shutDown();
    return 0;
  }
  tw::LogManager::getInstance().setFlush(true);
  veld::loadResources();
  new veld::GameStart;
  new tw::Pause(tw::Keyboard::F10);
  game_manager.run();
  tw::WorldManager& world = tw::WorldManager::getInstance();
  const tw::ObjectList active = world.getAllObjects();
  for (int i = 0; i < active.getCount(); i++) world.markForDelete(active[i]);
  game_manager.shutDown();
  return 0;
}
