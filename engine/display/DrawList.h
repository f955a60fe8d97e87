// One frame's drawing as a list in drawing order: characters at view
// positions in cells and filled shapes. The display manager fills it during a
// frame and hands it, finished, to the active presenter. Its characters are
// CellChar (engine/display/CellGrid.h).
#pragma once

#include "engine/core/Color.h"
#include "engine/display/CellGrid.h"
#include "engine/world/Canvas.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace tw {

struct DrawItem {
  enum class Kind : std::uint8_t { CHARACTER, SHAPE };
  Kind kind = Kind::CHARACTER;
  CellChar ch = U' ';
  std::uint8_t alpha = 255;  // shapes only; characters are opaque
  Rgb color;
  bool has_background = false;  // characters only; false: the frame's background
  Rgb background;               // the cell's own background when it has one
  float x = 0.0f;         // view position, cells
  float y = 0.0f;         // view position, cells
  float rotation = 0.0f;  // degrees, clockwise
  ShapeOutline shape;     // shapes only
};

class DrawList {
 public:
  void addCharacter(float x, float y, CellChar ch, Rgb color, float rotation);
  // A character over a background of its own cell.
  void addCell(float x, float y, CellChar ch, Rgb color, Rgb background);
  // Room for more items without growing on the way.
  void reserve(std::size_t more);
  void addShape(float x, float y, const ShapeOutline& outline, Rgb color, std::uint8_t alpha,
                float rotation);
  void clear();
  void swap(DrawList& other);

  const std::vector<DrawItem>& getItems() const;
  std::size_t size() const;
  bool empty() const;

 private:
  std::vector<DrawItem> items;
};

// Corner i of a shape item in pixels, for cells of cell_width x cell_height
// pixels: the geometry every presenter draws shapes with.
void shapeCorner(const DrawItem& item, int i, float cell_width, float cell_height, float& px,
                 float& py);

}  // namespace tw
