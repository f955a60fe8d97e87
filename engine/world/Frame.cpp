#include "engine/world/Frame.h"

#include <utility>

#include "engine/core/Unicode.h"
#include "engine/world/Canvas.h"

namespace tw {

Frame::Frame() : width(0), height(0) {}

Frame::Frame(int new_width, int new_height, std::string new_frame_str)
    : width(new_width),
      height(new_height),
      frame_str(std::move(new_frame_str)),
      cells(toCells(frame_str)) {}

Frame::Frame(int new_width, int new_height, const std::u32string& new_cells)
    : width(new_width),
      height(new_height),
      frame_str(toUtf8(new_cells)),
      cells(toCells(frame_str)) {}

int Frame::getWidth() const { return width; }

int Frame::getHeight() const { return height; }

std::string Frame::getString() const { return frame_str; }

const std::string& Frame::getStringRef() const { return frame_str; }

const std::u32string& Frame::getCells() const { return cells; }

int Frame::setCellColors(std::vector<CellColors> colors) {
  if (!colors.empty() &&
      (width < 1 || height < 1 || colors.size() != static_cast<std::size_t>(width) * height)) {
    return -1;
  }
  cell_colors = std::move(colors);
  return 0;
}

const std::vector<CellColors>& Frame::getCellColors() const { return cell_colors; }

Vector Frame::cellPosition(Vector position, int x, int y) const {
  const float x_offset = static_cast<float>(width - 1) / 2.0f;
  const float y_offset = static_cast<float>(height - 1) / 2.0f;
  return Vector(position.getX() + static_cast<float>(x) - x_offset,
                position.getY() + static_cast<float>(y) - y_offset);
}

int Frame::draw(Vector position, Color color, char transparent) const {
  // A char beyond ASCII is only part of a UTF-8 character: it matches no cell.
  const unsigned char t = static_cast<unsigned char>(transparent);
  return drawSkipping(position, color, t < 0x80 ? t : 0);
}

int Frame::drawSkipping(Vector position, Color color, char32_t transparent) const {
  if (cells.empty() || height < 1 || width < 1) return 0;
  const Canvas* p_canvas = Canvas::get();
  if (p_canvas == nullptr) return -1;
  const std::u32string::size_type size = cells.size();
  for (int y = 0; y < height; y++) {
    for (int x = 0; x < width; x++) {
      const std::u32string::size_type at = static_cast<std::u32string::size_type>(y) * width + x;
      if (at >= size) return 0;  // a string shorter than width * height ends the picture
      const char32_t ch = cells[at];
      if (transparent != 0 && ch == transparent) continue;
      const Vector place = cellPosition(position, x, y);
      if (cell_colors.empty()) {
        if (p_canvas->drawCharacter(place, ch, color, 0.0f) != 0) return -1;
        continue;
      }
      const CellColors& c = cell_colors[at];
      if (p_canvas->drawCell(place, ch, c.fg, c.has_background ? &c.bg : nullptr) != 0) return -1;
    }
  }
  return 0;
}

}  // namespace tw
