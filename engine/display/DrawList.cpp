#include "engine/display/DrawList.h"

#include <cmath>

namespace tw {

void DrawList::addCharacter(float x, float y, CellChar ch, Rgb color, float rotation) {
  DrawItem item;
  item.kind = DrawItem::Kind::CHARACTER;
  item.ch = ch;
  item.color = color;
  item.x = x;
  item.y = y;
  item.rotation = rotation;
  items.push_back(item);
}

void DrawList::addCell(float x, float y, CellChar ch, Rgb color, Rgb background) {
  DrawItem& item = items.emplace_back();
  item.ch = ch;
  item.color = color;
  item.has_background = true;
  item.background = background;
  item.x = x;
  item.y = y;
}

void DrawList::reserve(std::size_t more) { items.reserve(items.size() + more); }

void DrawList::addShape(float x, float y, const ShapeOutline& outline, Rgb color,
                        std::uint8_t alpha, float rotation) {
  DrawItem item;
  item.kind = DrawItem::Kind::SHAPE;
  item.alpha = alpha;
  item.color = color;
  item.x = x;
  item.y = y;
  item.rotation = rotation;
  item.shape = outline;
  items.push_back(item);
}

void DrawList::clear() { items.clear(); }

void DrawList::swap(DrawList& other) { items.swap(other.items); }

const std::vector<DrawItem>& DrawList::getItems() const { return items; }

std::size_t DrawList::size() const { return items.size(); }

bool DrawList::empty() const { return items.empty(); }

void shapeCorner(const DrawItem& item, int i, float cell_width, float cell_height, float& px,
                 float& py) {
  const float pi = 3.141592654f;
  const ShapeOutline& s = item.shape;
  // The corner on the circle, measured from the bounding square's top-left,
  // the first one straight up.
  const float angle = static_cast<float>(i) * 2.0f * pi / static_cast<float>(s.points) - pi / 2;
  const float lx = s.radius + std::cos(angle) * s.radius;
  const float ly = s.radius + std::sin(angle) * s.radius;
  const float turn = item.rotation * pi / 180.0f;
  const float rx = lx * std::cos(turn) - ly * std::sin(turn);
  const float ry = lx * std::sin(turn) + ly * std::cos(turn);
  px = item.x * cell_width + s.offset_x + rx;
  py = item.y * cell_height + s.offset_y + ry;
}

}  // namespace tw
