// Sprite files: every input is parsed as both formats and as the resource
// manager picks one. A sprite that comes back must be whole: at least one
// frame, each of the sprite's size, every cell one narrow character; a file
// refused must say why, printably. The bytes as a string drawn to cells take
// one cell a character, each one a cell holds.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <sstream>
#include <vector>

#include "engine/core/Unicode.h"
#include "engine/resources/ResourceManager.h"
#include "engine/resources/SpriteParser.h"
#include "engine/world/Sprite.h"
#include "fuzz/FuzzSupport.h"

namespace {
bool fitsCells(const std::u32string& cells) {
  for (char32_t c : cells) {
    if (tw::cellFit(c) != tw::CellFit::NARROW) return false;
  }
  return true;
}

void checkWhole(const tw::Sprite& sprite) {
  const int width = sprite.getWidth();
  const int height = sprite.getHeight();
  tw_fuzz::require(width > 0 && height > 0, "sprite without size");
  tw_fuzz::require(sprite.getFrameCount() > 0, "sprite without frames");
  for (int f = 0; f < sprite.getFrameCount(); f++) {
    const tw::Frame frame = sprite.getFrame(f);
    tw_fuzz::require(frame.getWidth() == width && frame.getHeight() == height, "frame size");
    tw_fuzz::require(frame.getCells().size() == static_cast<std::size_t>(width) * height,
                     "frame rows");
    tw_fuzz::require(fitsCells(frame.getCells()), "a cell that does not hold its character");
    tw_fuzz::require(tw::toCells(frame.getString()) == frame.getCells(), "frame text and cells");
  }
}

void checkProblems(const std::string& bytes) {
  std::istringstream in(bytes);
  tw::SpriteParser parser(in);
  std::vector<tw::SpriteProblem> problems;
  parser.setProblemList(&problems);
  std::unique_ptr<tw::Sprite> sprite(parser.loadSprite());
  tw_fuzz::require(sprite != nullptr || !problems.empty(), "a file refused without a reason");
  for (const tw::SpriteProblem& problem : problems) {
    tw_fuzz::require(tw::printable(problem.text) == problem.text, "a problem not printable");
  }
}
}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  tw_fuzz::startEngine(false);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  tw::ResourceManager& resources = tw::ResourceManager::getInstance();
  const std::string bytes = tw_fuzz::bytesOf(data, size);
  for (bool robust : {false, true}) {
    std::istringstream in(bytes);
    std::unique_ptr<tw::Sprite> sprite(robust ? resources.loadRobustSprite(in)
                                              : resources.loadSimpleSprite(in));
    if (sprite) checkWhole(*sprite);
  }
  checkProblems(bytes);
  const std::u32string cells = tw::toCells(bytes);
  tw_fuzz::require(cells.size() == tw::cellCount(bytes), "a string's cells miscounted");
  tw_fuzz::require(fitsCells(cells), "a string's character that no cell holds");
  return 0;
}
