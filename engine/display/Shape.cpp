#include "engine/display/Shape.h"

#include <cstdio>
#include <sstream>

#include "engine/core/Config.h"
#include "engine/core/LogManager.h"
#include "engine/core/Utility.h"
#include "engine/network/RecordIO.h"

namespace tw {

namespace {
// The configured font scale times the smaller cell dimension in whole pixels
// (the height when both are equal): 24 under the default configuration.
float defaultSize() {
  const Config& config = Config::getInstance();
  if (config.getWindowHorizontalChars() <= 0 || config.getWindowVerticalChars() <= 0) return 0.0f;
  const float cell_width = static_cast<float>(config.getWindowHorizontalPixels()) /
                           static_cast<float>(config.getWindowHorizontalChars());
  const float cell_height = static_cast<float>(config.getWindowVerticalPixels()) /
                            static_cast<float>(config.getWindowVerticalChars());
  const float smaller = cell_width < cell_height ? cell_width : cell_height;
  return config.getFontScale() * static_cast<float>(static_cast<int>(smaller));
}

const char* shapeTypeText(int type) {
  switch (type) {
    case CIRCLE:
      return "circle";
    case SQUARE:
      return "square";
    case TRIANGLE:
      return "triangle";
    default:
      return "undefined";
  }
}
}  // namespace

Shape::Shape()
    : color(WHITE), r(0), g(0), b(0), type(CIRCLE), size(defaultSize()), alpha(255) {}

Color Shape::getColor() const { return color; }
void Shape::setColor(Color new_color) { color = new_color; }
std::uint8_t Shape::getR() const { return r; }
void Shape::setR(std::uint8_t new_r) { r = new_r; }
std::uint8_t Shape::getG() const { return g; }
void Shape::setG(std::uint8_t new_g) { g = new_g; }
std::uint8_t Shape::getB() const { return b; }
void Shape::setB(std::uint8_t new_b) { b = new_b; }
int Shape::getType() const { return type; }
float Shape::getSize() const { return size; }
void Shape::setSize(float new_size) { size = new_size; }
std::uint8_t Shape::getAlpha() const { return alpha; }
void Shape::setAlpha(std::uint8_t new_alpha) { alpha = new_alpha; }

void Shape::setType(int new_type) {
  if (new_type < UNDEFINED_SHAPE || new_type > TRIANGLE) {
    LogManager::getInstance().writeLog("Shape::setType(): Unknown shape type %d. Ignoring.",
                                       new_type);
    return;
  }
  type = new_type;
}

void Shape::draw(Vector) const {
  if (type == UNDEFINED_SHAPE) return;
  // Pixel drawing through the display manager's window is added with it.
}

std::string Shape::toString() const {
  char size_text[64];
  std::snprintf(size_text, sizeof(size_text), "%f", static_cast<double>(size));
  return std::string(shapeTypeText(type)) + ", size " + size_text + ", " + colorToString(color) +
         ", " + std::to_string(static_cast<int>(alpha));
}

int Shape::serialize(std::stringstream* p_ss) const {
  if (p_ss == nullptr) return noStream("Shape::serialize()");
  writeInt(*p_ss, type);
  writeFloat(*p_ss, size);
  writeInt(*p_ss, static_cast<int>(color));
  p_ss->put(static_cast<char>(alpha));
  return checkStream("Shape::serialize()", *p_ss);
}

int Shape::deserialize(std::stringstream* p_ss) {
  const char* const where = "Shape::deserialize()";
  if (p_ss == nullptr) return noStream(where);
  int new_type = 0;
  float new_size = 0.0f;
  int new_color = 0;
  char new_alpha = 0;
  if (!readInt(*p_ss, new_type) || !readFloat(*p_ss, new_size) || !readInt(*p_ss, new_color) ||
      !p_ss->get(new_alpha)) {
    return checkStream(where, *p_ss);
  }
  const bool known_type = new_type >= UNDEFINED_SHAPE && new_type <= TRIANGLE;
  setType(new_type);
  size = new_size;
  color = static_cast<Color>(new_color);
  alpha = static_cast<std::uint8_t>(new_alpha);
  const int result = checkStream(where, *p_ss);
  return known_type ? result : -1;
}

}  // namespace tw
