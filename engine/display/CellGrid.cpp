#include "engine/display/CellGrid.h"

#include "engine/core/Unicode.h"
#include "engine/display/DrawList.h"

#include <algorithm>
#include <cmath>
#include <fstream>

namespace tw {

namespace {

const GridCell BLANK_CELL;

// Whether (px, py) lies inside the closed polygon (even-odd rule).
bool insidePolygon(const std::vector<float>& xs, const std::vector<float>& ys, float px,
                   float py) {
  bool inside = false;
  const std::size_t n = xs.size();
  for (std::size_t i = 0, j = n - 1; i < n; j = i++) {
    if ((ys[i] > py) != (ys[j] > py) &&
        px < (xs[j] - xs[i]) * (py - ys[i]) / (ys[j] - ys[i]) + xs[i]) {
      inside = !inside;
    }
  }
  return inside;
}

char colorLetter(Rgb c) {
  const bool r = c.r == 255, g = c.g == 255, b = c.b == 255;
  const bool r0 = c.r == 0, g0 = c.g == 0, b0 = c.b == 0;
  if ((r || r0) && (g || g0) && (b || b0)) return "krgybmcw"[(r ? 1 : 0) + (g ? 2 : 0) + (b ? 4 : 0)];
  return '*';
}

}  // namespace

CellGrid::CellGrid(int width, int height, Rgb background)
    : width(std::max(width, 0)),
      height(std::max(height, 0)),
      background(background),
      cells(static_cast<std::size_t>(this->width) * static_cast<std::size_t>(this->height)) {}

void CellGrid::clear() { std::fill(cells.begin(), cells.end(), BLANK_CELL); }

void CellGrid::paint(const DrawList& list, float cell_width, float cell_height) {
  clear();
  for (const DrawItem& item : list.getItems()) {
    if (item.kind == DrawItem::Kind::CHARACTER) {
      put(item.x, item.y, item.ch, item.color, item.has_background ? &item.background : nullptr);
    } else {
      paintShape(item, cell_width, cell_height);
    }
  }
}

void CellGrid::put(float x, float y, CellChar ch, Rgb color) { put(x, y, ch, color, nullptr); }

void CellGrid::put(float x, float y, CellChar ch, Rgb color, const Rgb* cell_background) {
  const float col = std::floor(x + 0.5f);
  const float row = std::floor(y + 0.5f);
  // Comparing as floats keeps NaN and huge positions out of the int conversion.
  if (!(col >= 0.0f && col < static_cast<float>(width) && row >= 0.0f &&
        row < static_cast<float>(height))) {
    return;
  }
  GridCell& cell = cells[static_cast<std::size_t>(row) * static_cast<std::size_t>(width) +
                         static_cast<std::size_t>(col)];
  cell.ch = ch >= 0x20 && ch < 0x7f ? ch : cellCharacter(ch);
  cell.color = color;
  // The later drawing wins with its background too: a character without one
  // shows the grid's, as a window paints it behind a character that hides
  // another.
  cell.has_background = cell_background != nullptr;
  cell.background = cell_background != nullptr ? *cell_background : Rgb();
}

void CellGrid::paintShape(const DrawItem& item, float cell_width, float cell_height) {
  if (!(cell_width > 0.0f && cell_height > 0.0f) || item.shape.points < 3) return;
  std::vector<float> xs(static_cast<std::size_t>(item.shape.points));
  std::vector<float> ys(xs.size());
  for (int i = 0; i < item.shape.points; i++) {
    shapeCorner(item, i, cell_width, cell_height, xs[static_cast<std::size_t>(i)],
                ys[static_cast<std::size_t>(i)]);
  }
  const auto [min_x, max_x] = std::minmax_element(xs.begin(), xs.end());
  const auto [min_y, max_y] = std::minmax_element(ys.begin(), ys.end());
  const float first_col = std::max(0.0f, std::floor(*min_x / cell_width));
  const float last_col = std::min(static_cast<float>(width - 1), std::floor(*max_x / cell_width));
  const float first_row = std::max(0.0f, std::floor(*min_y / cell_height));
  const float last_row = std::min(static_cast<float>(height - 1), std::floor(*max_y / cell_height));
  if (!(first_col <= last_col && first_row <= last_row)) return;  // also NaN
  for (int row = static_cast<int>(first_row); row <= static_cast<int>(last_row); row++) {
    for (int col = static_cast<int>(first_col); col <= static_cast<int>(last_col); col++) {
      const float cx = (static_cast<float>(col) + 0.5f) * cell_width;
      const float cy = (static_cast<float>(row) + 0.5f) * cell_height;
      if (insidePolygon(xs, ys, cx, cy)) {
        put(static_cast<float>(col), static_cast<float>(row), SHAPE_CHARACTER, item.color);
      }
    }
  }
}

int CellGrid::getWidth() const { return width; }

int CellGrid::getHeight() const { return height; }

Rgb CellGrid::getBackground() const { return background; }

const GridCell& CellGrid::at(int x, int y) const {
  if (x < 0 || y < 0 || x >= width || y >= height) return BLANK_CELL;
  return cells[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
               static_cast<std::size_t>(x)];
}

std::string CellGrid::getRow(int y) const {
  std::string row;
  if (y >= 0 && y < height) appendRow(row, y);
  return row;
}

void CellGrid::appendRow(std::string& text, int y) const {
  // Encoded straight into the text's room for the longest row, then cut to size.
  const std::size_t start = text.size();
  text.resize(start + static_cast<std::size_t>(width) * MAX_UTF8_BYTES);
  char* out = &text[start];
  const GridCell* cell = &cells[static_cast<std::size_t>(y) * static_cast<std::size_t>(width)];
  for (int x = 0; x < width; x++, cell++) {
    if (cell->ch < 0x80) {
      *out++ = static_cast<char>(cell->ch);
    } else {
      out += encodeUtf8(cell->ch, out);
    }
  }
  text.resize(static_cast<std::size_t>(out - text.data()));
}

std::string CellGrid::getColorRow(int y) const {
  if (y < 0 || y >= height) return "";
  std::string row(static_cast<std::size_t>(width), ' ');
  for (int x = 0; x < width; x++) {
    const GridCell& cell = at(x, y);
    if (cell.ch != U' ') row[static_cast<std::size_t>(x)] = colorLetter(cell.color);
  }
  return row;
}

std::string CellGrid::getBackgroundRow(int y) const {
  if (y < 0 || y >= height) return "";
  std::string row(static_cast<std::size_t>(width), '.');
  for (int x = 0; x < width; x++) {
    const GridCell& cell = at(x, y);
    if (cell.has_background) row[static_cast<std::size_t>(x)] = colorLetter(cell.background);
  }
  return row;
}

bool CellGrid::hasCellBackgrounds() const {
  return std::any_of(cells.begin(), cells.end(),
                     [](const GridCell& cell) { return cell.has_background; });
}

std::string CellGrid::toText() const {
  std::string text;
  text.reserve(static_cast<std::size_t>((width + 1) * height));
  for (int y = 0; y < height; y++) {
    appendRow(text, y);
    text += '\n';
  }
  return text;
}

int CellGrid::writeText(const std::string& filename) const {
  std::ofstream out(filename, std::ios::binary | std::ios::trunc);
  if (!out) return -1;
  out << toText() << "--\n";
  for (int y = 0; y < height; y++) out << getColorRow(y) << "\n";
  if (hasCellBackgrounds()) {
    out << "==\n";
    for (int y = 0; y < height; y++) out << getBackgroundRow(y) << "\n";
  }
  out.flush();
  return out ? 0 : -1;
}

}  // namespace tw
