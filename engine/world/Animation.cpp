#include "engine/world/Animation.h"

#include <climits>
#include <sstream>
#include <utility>

#include "engine/core/LogManager.h"
#include "engine/core/Utility.h"
#include "engine/world/Sprite.h"
#include "engine/core/RecordIO.h"

namespace tw {

Animation::Animation() : sprite(nullptr), index(0), slowdown_count(0) {}

void Animation::setSprite(Sprite* new_sprite) {
  sprite = new_sprite;
  if (new_sprite != nullptr) name = new_sprite->getLabel();
  index = 0;
}

Sprite* Animation::getSprite() const { return sprite; }

void Animation::setName(std::string new_name) { name = std::move(new_name); }

std::string Animation::getName() const { return name; }

void Animation::setIndex(int new_index) { index = new_index; }

int Animation::getIndex() const { return index; }

void Animation::setSlowdownCount(int new_slowdown_count) { slowdown_count = new_slowdown_count; }

int Animation::getSlowdownCount() const { return slowdown_count; }

bool Animation::held = false;

void Animation::setHeld(bool new_held) { held = new_held; }

bool Animation::isHeld() { return held; }

int Animation::draw(Vector position) {
  if (sprite == nullptr) return 0;
  // The frame is drawn before the counters move, so each frame is shown for
  // exactly `slowdown` consecutive draws.
  const int result = sprite->drawSkipping(index, position, sprite->getTransparentCharacter());
  if (slowdown_count == -1 || held) return result;  // frozen
  slowdown_count++;
  if (slowdown_count < sprite->getSlowdown()) return result;
  slowdown_count = 0;
  index++;
  if (index >= sprite->getFrameCount()) index = 0;
  return result;
}

Box Animation::getBox() const {
  if (sprite == nullptr) return Box(Vector(-0.5f, -0.5f), 0.99f, 0.99f);
  const float w = static_cast<float>(sprite->getWidth());
  const float h = static_cast<float>(sprite->getHeight());
  return Box(Vector(-w / 2.0f, -h / 2.0f), w, h);
}

std::string Animation::toString() const {
  return "sprite " + name + ", frame_idx " + std::to_string(index);
}

int Animation::serialize(std::stringstream* p_ss) const {
  if (p_ss == nullptr) return noStream("Animation::serialize()");
  writeString(*p_ss, name);
  writeInt(*p_ss, index);
  writeInt(*p_ss, slowdown_count);
  return checkStream("Animation::serialize()", *p_ss);
}

int Animation::deserialize(std::stringstream* p_ss) {
  const char* const where = "Animation::deserialize()";
  if (p_ss == nullptr) return noStream(where);
  std::string new_name;
  int new_index = 0;
  int new_slowdown_count = 0;
  if (readString(*p_ss, new_name, where) && readInt(*p_ss, new_index) &&
      readInt(*p_ss, new_slowdown_count)) {
    // draw() adds one to both counters, which must not overflow.
    if (new_index == INT_MAX || new_slowdown_count == INT_MAX) {
      LogManager::getInstance().writeLog(
          "Animation::deserialize(): Error! Frame index %d or slowdown count %d out of range.",
          new_index, new_slowdown_count);
      failStream(*p_ss);
    } else {
      sprite = nullptr;
      name = std::move(new_name);
      index = new_index;
      slowdown_count = new_slowdown_count;
    }
  }
  return checkStream(where, *p_ss);
}

}  // namespace tw
