// The program entry: reads the command line, starts the engine from the
// program's own folder, loads the game, creates the controls, the start screen
// and the pause object, runs the game loop and shuts everything down. The exit
// status is 0 after a game that ran, 1 when it could not start (a replay or
// record file refused included) and 2 for a command line it does not take.
#include "engine/core/Config.h"
#include "engine/loop/GameManager.h"
#include "engine/core/LogManager.h"
#include "engine/loop/Pause.h"
#include "engine/input/InputRecording.h"
#include "engine/platform/Files.h"
#include "engine/world/WorldManager.h"
#include "game/Controls.h"
#include "game/GameStart.h"
#include "game/Profile.h"
#include "game/Resources.h"
#include "game/SaveFile.h"

#include <cstdio>
#include <cstring>
#include <string>

namespace {

const int FAILED_START = 1;
const int BAD_COMMAND_LINE = 2;
const int GO_ON = -1;

const char* const USAGE =
    "usage: veld [--window | --terminal | --capture] [--record FILE | --replay FILE]\n"
    "  --window        play in a desktop window (the default)\n"
    "  --terminal      play in this terminal\n"
    "  --capture       run without showing anything (frames are only kept)\n"
    "  --record FILE   record this run's input into FILE\n"
    "  --replay FILE   play FILE's recorded run again instead of reading input\n";

bool refuse(const char* what, const char* arg) {
  std::fprintf(stderr, "veld: %s '%s'\n", what, arg);
  std::fputs(USAGE, stderr);
  return false;
}

// A recording's name becomes a configuration item, which cannot hold these.
bool fileOption(const char* option, const char* name) {
  if (name == nullptr) return refuse("a file name must follow", option);
  if (std::strpbrk(name, ",: \t\r\n") != nullptr) {
    return refuse("a file name with a comma, colon or blank cannot be used:", name);
  }
  const std::string key = std::strcmp(option, "--record") == 0 ? "record_file:" : "replay_file:";
  tw::Config::getInstance().addOverride(key + tw::platform::absolutePath(name));
  return true;
}

// Turns the options into configuration overrides. GO_ON, or the status to
// end with at once (0 after --help).
int readOptions(int argc, char** argv) {
  for (int i = 1; i < argc; i++) {
    const char* arg = argv[i];
    if (std::strcmp(arg, "--window") == 0 || std::strcmp(arg, "--terminal") == 0 ||
        std::strcmp(arg, "--capture") == 0) {
      tw::Config::getInstance().addOverride(std::string("display:") + (arg + 2));
    } else if (std::strcmp(arg, "--record") == 0 || std::strcmp(arg, "--replay") == 0) {
      if (!fileOption(arg, i + 1 < argc ? argv[++i] : nullptr)) return BAD_COMMAND_LINE;
    } else if (std::strcmp(arg, "--help") == 0) {
      std::fputs(USAGE, stderr);
      return 0;
    } else {
      refuse("unknown option", arg);
      return BAD_COMMAND_LINE;
    }
  }
  return GO_ON;
}

// A broken replay file is reported here, where the player sees it, before
// anything starts (the engine refuses it too, in the log).
bool replayReadable(int argc, char** argv) {
  for (int i = 1; i + 1 < argc; i++) {
    if (std::strcmp(argv[i], "--replay") != 0) continue;
    tw::InputRecording recording;
    std::string why;
    if (tw::InputRecording::load(argv[i + 1], recording, why) != 0) {
      std::fprintf(stderr, "veld: replay file '%s' refused: %s\n", argv[i + 1], why.c_str());
      return false;
    }
  }
  return true;
}

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
  const int status = readOptions(argc, argv);
  if (status != GO_ON) return status;
  if (!replayReadable(argc, argv)) return FAILED_START;
  tw::Config::getInstance().addOverride("window_title:Veld");
  moveToProgramFolder();
  tw::GameManager& game_manager = tw::GameManager::getInstance();
  if (game_manager.startUp() != 0) {
    tw::LogManager::getInstance().writeLog("Error starting game manager!");
    game_manager.shutDown();
    return FAILED_START;
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
