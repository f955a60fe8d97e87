#include "engine/display/PageFrame.h"

#include <algorithm>
#include <cstdio>

#include "engine/display/CellFilling.h"
#include "engine/display/Presenter.h"
#include "engine/platform/PageLayout.h"

namespace tw {

namespace page = platform::page;

namespace {

float cellSize(int pixels, int cells) {
  return cells > 0 ? static_cast<float>(pixels) / static_cast<float>(cells) : 0.0f;
}

float packed(Rgb color) {
  return static_cast<float>((static_cast<unsigned>(color.r) << 16) |
                            (static_cast<unsigned>(color.g) << 8) | color.b);
}

}  // namespace

bool PageFrame::open(const PresenterSettings& settings, int pixels_x, int pixels_y) {
  geometry = page::CanvasGeometry();
  geometry.cols = settings.horizontal_chars;
  geometry.rows = settings.vertical_chars;
  geometry.cell_w = cellSize(pixels_x, settings.horizontal_chars);
  geometry.cell_h = cellSize(pixels_y, settings.vertical_chars);
  geometry.box_left = CELL_BOX_LEFT;
  geometry.box_top = CELL_BOX_TOP;
  geometry.fill_overlap = CELL_FILL_OVERLAP;
  geometry.background = static_cast<unsigned>(packed(settings.background));
  geometry.font_scale = settings.font_scale;
  coverage.reset(settings.horizontal_chars, settings.vertical_chars);
  list.clear();
  return geometry.cell_w > 0.0f && geometry.cell_h > 0.0f;
}

const std::vector<float>& PageFrame::encode(const DrawList& frame) {
  list.clear();
  backgrounds_drawn = 0;
  coverage.nextFrame();
  for (const DrawItem& item : frame.getItems()) {
    if (item.kind == DrawItem::Kind::CHARACTER) {
      addCharacter(item);
    } else {
      addShape(item);
    }
  }
  return list;
}

// Position in window pixels; the page scales them to the canvas. Box
// drawing, blocks and shades are marked as filling their cell.
void PageFrame::addCharacter(const DrawItem& item) {
  float left = 0.0f, top = 0.0f, right = 0.0f, bottom = 0.0f;
  CellCoverage::characterBox(item, left, top, right, bottom);
  const bool hides = coverage.touch(left, top, right, bottom, false) || item.has_background;
  const unsigned code = static_cast<unsigned>(item.ch);  // a Unicode code point
  const bool inked = code > 0x20 && code != 0x7f;
  if (hides) backgrounds_drawn++;
  float* out = addItem(page::CHARACTER_STRIDE);
  out[page::CHARACTER_KIND] = page::DRAW_CHARACTER;
  out[page::CHARACTER_CODE] = static_cast<float>(code);
  out[page::CHARACTER_COLOR] = packed(item.color);
  out[page::CHARACTER_X] = item.x * geometry.cell_w;
  out[page::CHARACTER_Y] = item.y * geometry.cell_h;
  out[page::CHARACTER_ROTATION] = item.rotation;
  out[page::CHARACTER_HIDES] =
      item.has_background ? -1.0f - packed(item.background) : hides ? 1.0f : 0.0f;
  out[page::CHARACTER_FILLS] = fillsCell(item.ch) ? 1.0f : 0.0f;
  if (hides || inked) coverage.touch(left, top, right, bottom, true);
}

float* PageFrame::addItem(std::size_t numbers) {
  list.resize(list.size() + numbers);
  return list.data() + list.size() - numbers;
}

void PageFrame::addShape(const DrawItem& item) {
  const int n = item.shape.points;
  if (n < 3) return;
  coverage.markShape(item, geometry.cell_w, geometry.cell_h, corners);
  float* out = addItem(page::SHAPE_HEADER + corners.size());
  out[page::SHAPE_KIND] = page::DRAW_SHAPE;
  out[page::SHAPE_COLOR] = packed(item.color);
  out[page::SHAPE_ALPHA] = static_cast<float>(item.alpha);
  out[page::SHAPE_POINTS] = static_cast<float>(n);
  std::copy(corners.begin(), corners.end(), out + page::SHAPE_HEADER);
}

std::string pageGeometryJson(const page::CanvasGeometry& g, const std::vector<float>& fits) {
  char text[512];
  std::snprintf(text, sizeof(text),
                "{\"cols\":%d,\"rows\":%d,\"cellW\":%.7g,\"cellH\":%.7g,\"boxLeft\":%.7g,"
                "\"boxTop\":%.7g,\"fillOverlap\":%.7g,\"background\":%u,\"fontScale\":%.7g,"
                "\"fits\":[",
                g.cols, g.rows, static_cast<double>(g.cell_w), static_cast<double>(g.cell_h),
                static_cast<double>(g.box_left), static_cast<double>(g.box_top),
                static_cast<double>(g.fill_overlap), g.background, static_cast<double>(g.font_scale));
  std::string json = text;
  for (std::size_t i = 0; i < fits.size(); i++) {
    std::snprintf(text, sizeof(text), i == 0 ? "%.7g" : ",%.7g", static_cast<double>(fits[i]));
    json += text;
  }
  return json + "]}";
}

}  // namespace tw
