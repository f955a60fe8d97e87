// The program entry: starts the engine, sets up the game's first objects,
// runs the game loop and shuts everything down. The exit code is always 0.
#include "engine/core/GameManager.h"
#include "engine/core/LogManager.h"

int main() {
  tw::GameManager& game_manager = tw::GameManager::getInstance();
  if (game_manager.startUp() != 0) {
    tw::LogManager::getInstance().writeLog("Error starting game manager!");
    game_manager.shutDown();
    return 0;
  }
  tw::LogManager::getInstance().setFlush(true);
  game_manager.run();
  game_manager.shutDown();
  return 0;
}
