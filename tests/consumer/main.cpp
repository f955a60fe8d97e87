// A tiny game on the engine as a user builds it: a word drawn by an object,
// three frames through the capture presenter, then the frame is checked.
// Exits 0 when the word shows where it was drawn and the library it runs with
// is the version its headers name.
#include <cstdio>

#include "tarnwick.h"

namespace {
class Word : public tw::Object {
 public:
  Word() {
    setType("Word");
    registerInterest(tw::STEP_EVENT);
  }
  int eventHandler(const tw::Event* p_e) override {
    if (p_e->getType() != tw::STEP_EVENT) return 0;
    if (++steps == 3) tw::GameManager::getInstance().setGameOver();
    return 1;
  }
  int draw() override {
    // A character computed as an int, as older games draw them.
    tw::DisplayManager::getInstance().drawCharacter(tw::Vector(10, 6), 'a' + 1, tw::GREEN);
    return tw::DisplayManager::getInstance().drawString(tw::Vector(10, 5), "hello",
                                                        tw::JUSTIFY_LEFT, tw::GREEN);
  }

 private:
  int steps = 0;
};
}  // namespace

int main() {
  // The headers it was compiled with and the library it runs with agree.
  const tw::Version version = tw::getVersion();
  if (version.major_version != TARNWICK_VERSION_MAJOR ||
      version.minor_version != TARNWICK_VERSION_MINOR) {
    std::printf("compiled with %d.%d, runs with %s\n", TARNWICK_VERSION_MAJOR,
                TARNWICK_VERSION_MINOR, tw::getVersionString());
    return 1;
  }
  tw::Config::getInstance().addOverride("display:capture");
  tw::Config::getInstance().addOverride("networking:false");
  tw::GameManager& game = tw::GameManager::getInstance();
  if (game.startUp() != 0) return 1;
  new Word;
  game.run();
  const tw::CellGrid frame = tw::DisplayManager::getInstance().snapshot();
  game.shutDown();
  const std::string row = frame.getRow(5);
  std::printf("row 5: '%s'\n", row.c_str());
  if (frame.getWidth() != 80 || frame.getHeight() != 24) return 1;
  return row.substr(10, 5) == "hello" && frame.getColorRow(5).substr(10, 5) == "ggggg" &&
                 frame.getRow(6).substr(10, 1) == "b"
             ? 0
             : 1;
}
