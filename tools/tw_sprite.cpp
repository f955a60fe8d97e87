// tw-sprite: checks sprite files with the engine's own reader and plays one.
//   tw-sprite check FILE...   every problem as FILE:LINE: message (in the
//                             file's terms) on standard output; exit status 1
//                             when any file is bad
//   tw-sprite show [--window | --terminal | --capture] [--watch] FILE
//                             plays the animation until Q, Esc or closing;
//                             with --watch the file is read again on every
//                             save, its problems listed above the sprite
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
#include "engine/display/DisplayManager.h"
#include "engine/core/EventStep.h"
#include "engine/platform/FileCheck.h"
#include "engine/platform/FileWatcher.h"
#include "engine/resources/ResourceManager.h"
#include "engine/resources/SpriteParser.h"
#include "engine/world/Object.h"
#include "engine/world/WorldManager.h"

namespace {

int usage() {
  std::cerr << "usage: tw-sprite check FILE...\n"
               "       tw-sprite show [--window | --terminal | --capture] [--watch] FILE\n";
  return 2;
}

// The problems of one file as FILE:LINE: message lines, none when it is good.
std::vector<std::string> fileProblems(const std::string& name,
                                      std::unique_ptr<tw::Sprite>* p_sprite = nullptr) {
  std::ifstream file;
  if (!tw::platform::isSpecialFile(name)) file.open(name, std::ios::binary);
  if (!file.is_open()) return {name + ": cannot open the file"};
  tw::SpriteParser parser(file);
  std::vector<tw::SpriteProblem> problems;
  parser.setProblemList(&problems);
  std::unique_ptr<tw::Sprite> sprite(parser.loadSprite());
  std::vector<std::string> lines;
  for (const tw::SpriteProblem& problem : problems) {
    lines.push_back(name + ':' + std::to_string(problem.line) + ": " + problem.text);
  }
  if (sprite == nullptr && lines.empty()) lines.push_back(name + ": not a sprite");
  if (p_sprite != nullptr) *p_sprite = std::move(sprite);
  return lines;
}

// Reads one file as the resource manager would; true when it is good.
bool checkFile(const std::string& name) {
  std::unique_ptr<tw::Sprite> sprite;
  for (const std::string& line : fileProblems(name, &sprite)) std::cout << line << '\n';
  if (sprite == nullptr) return false;
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

std::string spriteInfo() {
  const tw::Sprite* sprite = tw::ResourceManager::getInstance().getSprite("shown");
  return std::to_string(sprite->getFrameCount()) + " frames, slowdown " +
         std::to_string(sprite->getSlowdown()) + ", Q quits";
}

// With --watch: reads the file again after every save. A good file replaces
// the shown sprite; a bad one leaves it and lists its problems at the top.
class Watch : public tw::Object {
 public:
  Watch(std::string file, tw::ViewObject* info) : file_name(std::move(file)), p_info(info) {
    setSolidness(tw::SPECTRAL);
    setAltitude(tw::MAX_ALTITUDE);
    watcher.watch(file_name);
    registerInterest(tw::STEP_EVENT);
  }
  int eventHandler(const tw::Event* p_e) override {
    if (p_e->getType() != tw::STEP_EVENT || watcher.takeChanges().empty()) return 0;
    problems = fileProblems(file_name);
    if (problems.empty() && tw::ResourceManager::getInstance().reloadFile(file_name) > 0) {
      p_info->setViewString(spriteInfo());
    }
    return 1;
  }
  int draw() override {
    const tw::DisplayManager& display = tw::DisplayManager::getInstance();
    const tw::Vector corner = tw::WorldManager::getInstance().getView().getCorner();
    for (std::size_t i = 0; i < problems.size(); i++) {
      const tw::Vector at(corner.getX(), corner.getY() + static_cast<float>(i));
      display.drawString(at, problems[i], tw::JUSTIFY_LEFT, tw::RED);
    }
    return 0;
  }

 private:
  std::string file_name;
  tw::ViewObject* p_info;  // not owned
  tw::platform::FileWatcher watcher;
  std::vector<std::string> problems;  // of the last save, shown until a good one
};

int show(int argc, char* argv[]) {
  std::string file_name;
  bool watch = false;
  for (int i = 2; i < argc; i++) {
    const std::string arg = argv[i];
    if (arg == "--watch") {
      watch = true;
    } else if (arg == "--window" || arg == "--terminal" || arg == "--capture") {
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
  // The preview watches its one file itself, so that it can list the problems.
  tw::Config::getInstance().addOverride("hot_reload:false");
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
  auto* p_info = new tw::ViewObject;
  p_info->setLocation(tw::BOTTOM_CENTER);
  p_info->setDrawValue(false);
  p_info->setViewString(spriteInfo());
  new Shown;
  if (watch) new Watch(file_name, p_info);
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
