// A filled circle, square or triangle that an object may draw over its
// position besides its sprite: type, colour, size and opacity. Shapes are drawn
// in pixels straight into the window through one shared drawing shape.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>

#include "engine/platform/Export.h"
#include "engine/core/Color.h"
#include "engine/world/Vector.h"

namespace tw {

enum ShapeType {
  UNDEFINED_SHAPE = -1,
  CIRCLE = 0,
  SQUARE = 1,
  TRIANGLE = 2,
};

class TW_API Shape {
 public:
  Shape();

  Color getColor() const;
  void setColor(Color new_color);
  std::uint8_t getR() const;
  void setR(std::uint8_t new_r);
  std::uint8_t getG() const;
  void setG(std::uint8_t new_g);
  std::uint8_t getB() const;
  void setB(std::uint8_t new_b);
  int getType() const;
  // Accepts UNDEFINED_SHAPE to TRIANGLE; anything else is logged and ignored.
  void setType(int new_type);
  float getSize() const;
  void setSize(float new_size);
  std::uint8_t getAlpha() const;
  void setAlpha(std::uint8_t new_alpha);

  // Draws the shape at a world position; an undefined shape draws nothing.
  // Unless the colour is CUSTOM, the channels are set from it first.
  void draw(Vector position);
  // Points of a circle of this size: the size in whole pixels, from 3 to 10.
  static int circlePointCount(float size);
  // e.g. "circle, size 24.000000, White, 255".
  std::string toString() const;

  // Writes type, size, colour and alpha (the channels are not written).
  int serialize(std::stringstream* p_ss) const;
  // Reads type, size, colour and alpha. An unknown type is refused by setType
  // (the old type stays, the rest is taken) and gives -1; a short record
  // leaves the shape as it was.
  int deserialize(std::stringstream* p_ss);

 private:
  Color color;  // CUSTOM: the channels below are used as they are
  std::uint8_t r;
  std::uint8_t g;
  std::uint8_t b;
  int type;            // a ShapeType
  float size;          // pixels
  std::uint8_t alpha;  // opacity of the fill
};

}  // namespace tw
