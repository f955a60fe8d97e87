// The program entry: reads the command line, starts the engine from the
// program's own folder, loads the game, creates the controls, the start screen
// and the pause object, runs the game loop and shuts everything down. The exit
// status is 0 after a game that ran, 1 when it could not start (a replay or
// record file refused included) and 2 for a command line it does not take.
#include "engine/core/Config.h"
#include "engine/loop/CommandLine.h"
#include "engine/loop/GameManager.h"
#include "engine/core/LogManager.h"
#include "engine/loop/Pause.h"
#include "engine/platform/Files.h"
#include "engine/platform/HostStorage.h"
#include "engine/world/WorldManager.h"
#include "game/Controls.h"
#include "game/GameStart.h"
#include "game/Profile.h"
#include "game/Resources.h"
#include "game/SaveFile.h"

#include <cstdio>
#include <string>

namespace {

// The game's data, its tw-config.txt and its log lie beside the program, so
// it plays the same from any working folder.
void moveToProgramFolder() {
  const std::string folder = tw::platform::programFolder();
  if (!folder.empty() && tw::platform::changeFolder(folder) != 0) {
    std::fprintf(stderr, "veld: cannot work in '%s'\n", folder.c_str());
  }
}

}  // namespace

int main(int argc, char** argv) {
  tw::CommandLine command_line("veld");
  const int status = command_line.parse(argc, argv);
  if (status != tw::CommandLine::GO_ON) return status;
  if (!command_line.getArguments().empty()) {
    return command_line.refuse("unknown argument '" + command_line.getArguments()[0] + "'");
  }
  tw::Config::getInstance().addOverride("window_title:Veld");
  moveToProgramFolder();
  tw::platform::describeKeptData("the best score and the mute choice");
  tw::GameManager& game_manager = tw::GameManager::getInstance();
  if (game_manager.startUp() != 0) {
    tw::LogManager::getInstance().writeLog("Error starting game manager!");
    game_manager.shutDown();
    return tw::CommandLine::EXIT_NO_START;
  }
  tw::LogManager::getInstance().setFlush(true);
  veld::loadResources();
  veld::Profile::get().load(veld::SaveFile::defaultFolder());
  new veld::Controls;  // first, so that it hears every key before the screens
  new veld::GameStart;
  new tw::Pause(tw::Keyboard::F10);
  game_manager.run();
  tw::WorldManager& world = tw::WorldManager::getInstance();
  const tw::ObjectList active = world.getAllObjects();
  for (int i = 0; i < active.getCount(); i++) world.markForDelete(active[i]);
  game_manager.shutDown();
  return 0;
}
