// The program entry: reads the command line, starts the engine, loads the
// game, creates the start screen and the pause object, runs the game loop and
// shuts everything down. The exit code is always 0.
#include "engine/core/Config.h"
#include "engine/core/GameManager.h"
#include "engine/core/LogManager.h"
#include "engine/core/Pause.h"
#include "engine/world/WorldManager.h"
#include "game/GameStart.h"
#include "game/Resources.h"

#include <cstdio>
#include <cstring>

namespace {

const char* const USAGE =
    "usage: veld [--window | --terminal | --capture]\n"
    "  --window     play in a desktop window (the default)\n"
    "  --terminal   play in this terminal\n"
    "  --capture    run without showing anything (frames are only kept)\n";

// Turns the options into configuration overrides; false when the program
// should stop (help asked for, or an unknown option).
bool readOptions(int argc, char** argv) {
  for (int i = 1; i < argc; i++) {
    const char* arg = argv[i];
    if (std::strcmp(arg, "--window") == 0 || std::strcmp(arg, "--terminal") == 0 ||
        std::strcmp(arg, "--capture") == 0) {
      tw::Config::getInstance().addOverride(std::string("display:") + (arg + 2));
    } else {
      if (std::strcmp(arg, "--help") != 0) std::fprintf(stderr, "veld: unknown option '%s'\n", arg);
      std::fputs(USAGE, stderr);
      return false;
    }
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (!readOptions(argc, argv)) return 0;
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
