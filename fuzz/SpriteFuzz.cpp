// Sprite files: every input is parsed as both formats. A sprite that comes
// back must be whole: at least one frame, each of the sprite's size.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <sstream>

#include "engine/world/Sprite.h"
#include "engine/resources/ResourceManager.h"
#include "fuzz/FuzzSupport.h"

namespace {
void checkWhole(const tw::Sprite& sprite) {
  const int width = sprite.getWidth();
  const int height = sprite.getHeight();
  tw_fuzz::require(width > 0 && height > 0, "sprite without size");
  tw_fuzz::require(sprite.getFrameCount() > 0, "sprite without frames");
  for (int f = 0; f < sprite.getFrameCount(); f++) {
    const tw::Frame frame = sprite.getFrame(f);
    tw_fuzz::require(frame.getWidth() == width && frame.getHeight() == height, "frame size");
    tw_fuzz::require(frame.getString().size() == static_cast<std::size_t>(width) * height,
                     "frame rows");
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
  return 0;
}
