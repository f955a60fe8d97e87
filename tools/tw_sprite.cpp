// tw-sprite: checks sprite files with the engine's own reader and plays one.
//   tw-sprite check FILE...   every problem as FILE:LINE: message (in the
//                             file's terms) on standard output; exit status 1
//                             when any file is bad
//   tw-sprite show [--window | --terminal | --capture] FILE
//                             plays the animation until Q, Esc or closing
#include <fstream>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "engine/core/Config.h"
#include "engine/loop/GameManager.h"
#include "engine/core/LogManager.h"
#include "engine/world/Sprite.h"
#include "engine/display/ViewObject.h"
#include "engine/input/EventKeyboard.h"
#include "engine/platform/FileCheck.h"
#include "engine/resources/ResourceManager.h"
#include "engine/resources/SpriteParser.h"
#include "engine/world/Object.h"
#include "engine/world/WorldManager.h"

namespace {

int usage() {
  std::cerr << "usage: tw-sprite check FILE...\n"
               "       tw-sprite show [--window | --terminal | --capture] FILE\n";
  return 2;
}

// Reads one file as the resource manager would; true when it is good.
bool checkFile(const std::string& name) {
  std::ifstream file;
  if (!tw::platform::isSpecialFile(name)) file.open(name, std::ios::binary);
  if (!file.is_open()) {
    std::cout << name << ": cannot open the file\n";
    return false;
  }
  tw::SpriteParser parser(file);
  std::vector<tw::SpriteProblem> problems;
  parser.setProblemList(&problems);
  std::unique_ptr<tw::Sprite> sprite(parser.loadSprite());
  for (const tw::SpriteProblem& problem : problems) {
    std::cout << name << ':' << problem.line << ": " << problem.text << '\n';
  }
  if (sprite == nullptr) {
    if (problems.empty()) std::cout << name << ": not a sprite\n";
    return false;
  }
  const int frames = sprite->getFrameCount();
  std::cout << name << ": ok, " << frames << (frames == 1 ? " frame of " : " frames of ")
            << sprite->getWidth() << " x " << sprite->getHeight() << '\n';
  return true;
}

int check(int argc, char* argv[]) {
  if (argc < 3) return usage();
  // The reader also logs what it finds; that copy is not wanted here.
  tw::Config::getInstance().loadConfig("logfile:/dev/null");
  tw::LogManager::getInstance().startUp();
  bool all_good = true;
  for (int i = 2; i < argc; i++) all_good = checkFile(argv[i]) && all_good;
  tw::LogManager::getInstance().shutDown();
  return all_good ? 0 : 1;
}

// The shown sprite, in the middle of the screen; Q or Esc ends the show.
class Shown : public tw::Object {
 public:
  Shown() {
    setSolidness(tw::SPECTRAL);
    setSprite("shown");
    const tw::Box world = tw::WorldManager::getInstance().getBoundary();
    setPosition(tw::Vector(world.getHorizontal() / 2, world.getVertical() / 2));
    registerInterest(tw::KEYBOARD_EVENT);
  }
  int eventHandler(const tw::Event* p_e) override {
    if (p_e->getType() != tw::KEYBOARD_EVENT) return 0;
    const auto* p_key = static_cast<const tw::EventKeyboard*>(p_e);
    if (p_key->getKeyboardAction() != tw::KEY_PRESSED) return 0;
    if (p_key->getKey() == tw::Keyboard::Q || p_key->getKey() == tw::Keyboard::ESCAPE) {
      tw::GameManager::getInstance().setGameOver();
    }
    return 1;
  }
};

int show(int argc, char* argv[]) {
  std::string file_name;
  for (int i = 2; i < argc; i++) {
    const std::string arg = argv[i];
    if (arg == "--window" || arg == "--terminal" || arg == "--capture") {
      tw::Config::getInstance().addOverride("display:" + arg.substr(2));
    } else if (file_name.empty() && arg.compare(0, 2, "--") != 0) {
      file_name = arg;
    } else {
      return usage();
    }
  }
  if (file_name.empty()) return usage();
  tw::GameManager& game = tw::GameManager::getInstance();
  tw::Config::getInstance().addOverride("networking:false");
  if (game.startUp() != 0) {
    game.shutDown();
    return 1;
  }
  if (tw::ResourceManager::getInstance().loadSprite(file_name, "shown") != 0) {
    game.shutDown();
    std::cerr << "tw-sprite: " << file_name << " is not a good sprite file; see tw-sprite check "
              << file_name << '\n';
    return 1;
  }
  tw::Sprite* sprite = tw::ResourceManager::getInstance().getSprite("shown");
  auto* p_info = new tw::ViewObject;
  p_info->setLocation(tw::BOTTOM_CENTER);
  p_info->setDrawValue(false);
  p_info->setViewString(std::to_string(sprite->getFrameCount()) + " frames, slowdown " +
                        std::to_string(sprite->getSlowdown()) + ", Q quits");
  new Shown;
  game.run();
  game.shutDown();
  return 0;
}

}  // namespace

int main(int argc, char* argv[]) {
  if (argc < 2) return usage();
  const std::string command = argv[1];
  if (command == "check") return check(argc, argv);
  if (command == "show") return show(argc, argv);
  return usage();
}
