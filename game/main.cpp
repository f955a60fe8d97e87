// The program entry: reads the command line, starts the engine from the
// program's own folder, loads the game, creates the controls, the start screen
// and the pause object, runs the game loop and shuts everything down. With
// --spectate, browsers may watch the game as it is played. The exit
// status is 0 after a game that ran, 1 when it could not start (a replay or
// record file refused included) and 2 for a command line it does not take.
#include "engine/core/Config.h"
#include "engine/loop/CommandLine.h"
#include "engine/loop/GameManager.h"
#include "engine/display/DisplayManager.h"
#include "engine/core/LogManager.h"
#include "engine/loop/Pause.h"
#include "engine/platform/Files.h"
#include "engine/world/WorldManager.h"
#include "game/Controls.h"
#include "game/GameStart.h"
#include "game/Profile.h"
#include "game/Resources.h"
#include "game/SaveFile.h"

#include <cstdio>
#include <string>
#include <vector>

namespace {

// The game's data, its tw-config.txt and its log lie beside the program, so
// it plays the same from any working folder.
void moveToProgramFolder() {
  const std::string folder = tw::platform::programFolder();
  if (!folder.empty() && tw::platform::changeFolder(folder) != 0) {
    std::fprintf(stderr, "veld: cannot work in '%s'\n", folder.c_str());
  }
}

const char* const SPECTATE_PORT = "9878";  // --spectate without a port

// Reads --spectate [PORT] into the spectate_port setting; false, with the
// reason, for anything else on the command line.
bool takeSpectate(const tw::CommandLine& command_line, std::string& why) {
  const std::vector<std::string>& arguments = command_line.getArguments();
  if (arguments.empty()) return true;
  if (arguments[0] != "--spectate") {
    why = "unknown argument '" + arguments[0] + "'";
    return false;
  }
  const std::string port = arguments.size() > 1 ? arguments[1] : SPECTATE_PORT;
  if (arguments.size() > 2 || port.empty() ||
      port.find_first_not_of("0123456789") != std::string::npos || port.size() > 5 ||
      std::stoi(port) > 65535) {
    why = "--spectate takes one port, 0 to 65535";
    return false;
  }
  tw::Config::getInstance().addOverride("spectate_port:" + port);
  return true;
}

// Where to watch, on standard output (unless the game itself is there).
void announceSpectating() {
  const int port = tw::GameManager::getInstance().getSpectatePort();
  if (port < 0 || tw::DisplayManager::getInstance().getPresenterName() == "terminal") return;
  std::printf("veld: spectators watch at watch.html?port=%d (port %d on %s)\n", port, port,
              tw::Config::getInstance().getSpectateHost().c_str());
  std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
  tw::CommandLine command_line("veld");
  command_line.addOption("--spectate",
                         "  --spectate [PORT]  let browsers watch (port 9878 without one)");
  const int status = command_line.parse(argc, argv);
  if (status != tw::CommandLine::GO_ON) return status;
  std::string why;
  if (!takeSpectate(command_line, why)) return command_line.refuse(why);
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
  announceSpectating();
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
