#include "engine/world/Shape.h"

#include "engine/core/Config.h"
#include "engine/core/LogManager.h"
#include "engine/core/Utility.h"
#include "engine/world/Canvas.h"
#include "engine/core/RecordIO.h"

#include <cstdio>
#include <sstream>

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

int Shape::circlePointCount(float size) {
  if (size < 3) return 3;
  if (size > 10) return 10;
  return static_cast<int>(size);
}

void Shape::draw(Vector position) {
  if (type == UNDEFINED_SHAPE) return;
  const Canvas* p_canvas = Canvas::get();
  if (p_canvas == nullptr || !p_canvas->canDraw()) {
    LogManager::getInstance().writeLog(5, "Shape::draw(): DisplayManager window not defined.");
    return;
  }
  if (color != CUSTOM) colorToRGB(color, r, g, b);
  ShapeOutline outline;
  float rotation = 0.0f;  // each shape is drawn with its own turn
  if (type == CIRCLE) {
    outline = {circlePointCount(size), size, -size * 0.5f, -size * 0.5f};
  } else if (type == SQUARE) {
    outline = {4, size / Config::getInstance().getFontScale(), size * 0.5f, -size / 1.75f};
    rotation = 45.0f;
  } else if (type == TRIANGLE) {
    outline = {3, size * 0.5f, -size * 0.5f, -size * 0.5f};
  }
  LogManager::getInstance().writeLog(25, "Shape::draw(): Drawing at (%.2f, %.2f)",
                                     static_cast<double>(position.getX()),
                                     static_cast<double>(position.getY()));
  p_canvas->drawShape(position, outline, Rgb{r, g, b}, alpha, rotation);
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
