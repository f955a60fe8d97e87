#include "engine/display/CellCanvas.h"

#include "engine/core/ColorBlend.h"
#include "engine/core/Unicode.h"
#include "engine/display/DisplayManager.h"

#include <algorithm>

namespace tw {

namespace {

const CanvasCell BLANK_CELL;

// The colour seen when over lies on under with alpha (0..255), in integers:
// the canvas is copied often, so no floats per channel.
Rgb over(Rgb under, Rgb over, std::uint8_t alpha) {
  const auto mix = [alpha](std::uint8_t u, std::uint8_t o) {
    return static_cast<std::uint8_t>((u * (255 - alpha) + o * alpha + 127) / 255);
  };
  return Rgb{mix(under.r, over.r), mix(under.g, over.g), mix(under.b, over.b)};
}

// What a cell shows of a character: printable ASCII as it is (the common
// case, checked first), anything else as a cell can hold it.
char32_t shownCharacter(char32_t ch) { return ch >= 0x20 && ch < 0x7f ? ch : cellCharacter(ch); }

// Lays one source cell over a target cell as how says.
void layOver(CanvasCell& target, const CanvasCell& source, const CanvasCopy& how) {
  const std::uint8_t alpha = how.background_alpha;
  if (alpha == 255) {
    target = source;
    return;
  }
  target.bg = over(target.bg, source.bg, alpha);
  if (source.ch == U' ') {
    target.fg = over(target.fg, source.bg, alpha);  // the character beneath, seen through
  } else {
    target.ch = source.ch;
    target.fg = source.fg;
  }
}

}  // namespace

CellCanvas::CellCanvas(int width, int height)
    : width(std::max(width, 0)),
      height(std::max(height, 0)),
      cells(static_cast<std::size_t>(this->width) * static_cast<std::size_t>(this->height)) {}

int CellCanvas::getWidth() const { return width; }

int CellCanvas::getHeight() const { return height; }

void CellCanvas::fill(char32_t ch, Rgb fg, Rgb bg) {
  std::fill(cells.begin(), cells.end(), CanvasCell{shownCharacter(ch), fg, bg});
}

CanvasCell* CellCanvas::cell(int x, int y) {
  if (x < 0 || y < 0 || x >= width || y >= height) return nullptr;
  return &cells[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                static_cast<std::size_t>(x)];
}

int CellCanvas::put(int x, int y, char32_t ch, Rgb fg, Rgb bg) {
  CanvasCell* c = cell(x, y);
  if (c == nullptr) return -1;
  *c = CanvasCell{shownCharacter(ch), fg, bg};
  return 0;
}

int CellCanvas::putCharacter(int x, int y, char32_t ch, Rgb fg) {
  CanvasCell* c = cell(x, y);
  if (c == nullptr) return -1;
  c->ch = shownCharacter(ch);
  c->fg = fg;
  return 0;
}

int CellCanvas::setBackground(int x, int y, Rgb bg) {
  CanvasCell* c = cell(x, y);
  if (c == nullptr) return -1;
  c->bg = bg;
  return 0;
}

int CellCanvas::print(int x, int y, const std::string& text, Rgb fg, Rgb bg) {
  int written = 0;
  for (std::size_t at = 0; at < text.size(); x++) {
    const Utf8Character c = decodeUtf8(text.data() + at, text.size() - at);
    at += c.length;
    const char32_t shown = c.fault == Utf8Fault::NONE ? c.code : REPLACEMENT_CHARACTER;
    if (put(x, y, shown, fg, bg) == 0) written++;
  }
  return written;
}

const CanvasCell& CellCanvas::at(int x, int y) const {
  if (x < 0 || y < 0 || x >= width || y >= height) return BLANK_CELL;
  return cells[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
               static_cast<std::size_t>(x)];
}

void CellCanvas::copyTo(CellCanvas& target, int x, int y, const CanvasCopy& how) const {
  // Only the rows and columns that land inside the target are visited.
  const int first_col = std::max(0, -x), last_col = std::min(width, target.width - x);
  const int first_row = std::max(0, -y), last_row = std::min(height, target.height - y);
  const bool whole = !how.keyed && how.background_alpha == 255;
  for (int row = first_row; row < last_row; row++) {
    const std::size_t from = static_cast<std::size_t>(row) * static_cast<std::size_t>(width);
    const std::size_t to = static_cast<std::size_t>(y + row) * static_cast<std::size_t>(target.width);
    if (whole && first_col < last_col) {  // an opaque copy takes the row at once
      std::copy(cells.begin() + static_cast<std::ptrdiff_t>(from + first_col),
                cells.begin() + static_cast<std::ptrdiff_t>(from + last_col),
                target.cells.begin() + static_cast<std::ptrdiff_t>(to + x + first_col));
      continue;
    }
    for (int col = first_col; col < last_col; col++) {
      const CanvasCell& source = cells[from + static_cast<std::size_t>(col)];
      if (how.keyed && source.bg == how.key) continue;
      layOver(target.cells[to + static_cast<std::size_t>(x + col)], source, how);
    }
  }
}

int CellCanvas::draw(Vector world_pos, const CanvasCopy& how) const {
  const DisplayManager& display = DisplayManager::getInstance();
  if (!display.canDraw()) return -1;
  const Rgb frame_background = display.getBackground();
  const float left = world_pos.getX(), top = world_pos.getY();
  const bool whole = !how.keyed && how.background_alpha == 255;
  for (int row = 0; whole && row < height; row++) {
    const Vector at(left, top + static_cast<float>(row));
    if (display.drawCellRow(at, &cells[static_cast<std::size_t>(row * width)], width) != 0) return -1;
  }
  for (int row = 0; !whole && row < height; row++) {
    for (int col = 0; col < width; col++) {
      const CanvasCell& source = cells[static_cast<std::size_t>(row * width + col)];
      if (how.keyed && source.bg == how.key) continue;
      const Vector at(left + static_cast<float>(col), top + static_cast<float>(row));
      if (how.background_alpha == 0) {
        if (source.ch != U' ') display.drawCell(at, source.ch, source.fg, nullptr);
        continue;
      }
      CanvasCell shown{U' ', frame_background, frame_background};
      layOver(shown, source, how);
      display.drawCell(at, shown.ch, shown.fg, &shown.bg);
    }
  }
  return 0;
}

}  // namespace tw
