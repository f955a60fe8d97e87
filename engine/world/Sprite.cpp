#include "engine/world/Sprite.h"

#include <algorithm>
#include <utility>

#include "engine/core/LogManager.h"

namespace tw {

namespace {
// Frames reserved up front; more are allocated only as they are added.
const int INITIAL_FRAME_RESERVE = 16;
}  // namespace

Sprite::Sprite(int max_frames)
    : width(0),
      height(0),
      max_frame_count(0),
      frame_count(0),
      color(COLOR_DEFAULT),
      slowdown(1),
      transparency(0),
      label("[Undefined]") {
  if (max_frames < 0) {
    LogManager::getInstance().writeLog("Sprite::Sprite(): Error! Unable to allocate %d frames.",
                                       max_frames);
    return;
  }
  max_frame_count = max_frames;
  frames.reserve(static_cast<std::size_t>(std::min(max_frames, INITIAL_FRAME_RESERVE)));
}

Sprite::~Sprite() = default;

int Sprite::addFrame(Frame new_frame) {
  if (frame_count >= max_frame_count) return -1;
  frames.push_back(std::move(new_frame));
  frame_count++;
  return 0;
}

Frame Sprite::getFrame(int frame_number) const {
  if (frame_number < 0 || frame_number >= frame_count) return Frame();
  return frames[static_cast<std::size_t>(frame_number)];
}

int Sprite::setCellColors(int frame_number, std::vector<CellColors> colors) {
  if (frame_number < 0 || frame_number >= frame_count) return -1;
  return frames[static_cast<std::size_t>(frame_number)].setCellColors(std::move(colors));
}

int Sprite::getFrameCount() const { return frame_count; }

int Sprite::getMaxFrameCount() const { return max_frame_count; }

void Sprite::setWidth(int new_width) { width = new_width; }

int Sprite::getWidth() const { return width; }

void Sprite::setHeight(int new_height) { height = new_height; }

int Sprite::getHeight() const { return height; }

void Sprite::setColor(Color new_color) { color = new_color; }

Color Sprite::getColor() const { return color; }

void Sprite::setSlowdown(int new_sprite_slowdown) { slowdown = new_sprite_slowdown; }

int Sprite::getSlowdown() const { return slowdown; }

void Sprite::setTransparency(char new_transparency) {
  const unsigned char t = static_cast<unsigned char>(new_transparency);
  transparency = t < 0x80 ? t : 0;
}

char Sprite::getTransparency() const {
  return transparency < 0x80 ? static_cast<char>(transparency) : 0;
}

void Sprite::setTransparentCharacter(char32_t new_transparency) {
  transparency = new_transparency;
}

char32_t Sprite::getTransparentCharacter() const { return transparency; }

void Sprite::setLabel(std::string new_label) { label = std::move(new_label); }

void Sprite::swapContents(Sprite& other) {
  std::swap(width, other.width);
  std::swap(height, other.height);
  std::swap(max_frame_count, other.max_frame_count);
  std::swap(frame_count, other.frame_count);
  std::swap(color, other.color);
  std::swap(slowdown, other.slowdown);
  std::swap(transparency, other.transparency);
  frames.swap(other.frames);
}

std::string Sprite::getLabel() const { return label; }

int Sprite::draw(int frame_number, Vector position, char transparent) const {
  if (frame_number < 0 || frame_number >= frame_count) return 0;
  return frames[static_cast<std::size_t>(frame_number)].draw(position, color, transparent);
}

int Sprite::drawSkipping(int frame_number, Vector position, char32_t transparent) const {
  if (frame_number < 0 || frame_number >= frame_count) return 0;
  return frames[static_cast<std::size_t>(frame_number)].drawSkipping(position, color, transparent);
}

}  // namespace tw
