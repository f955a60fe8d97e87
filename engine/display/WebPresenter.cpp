#include "engine/display/WebPresenter.h"

#include <algorithm>

#include "engine/core/LogManager.h"
#include "engine/display/CellFilling.h"
#include "engine/display/PageFits.h"
#include "engine/platform/PageLayout.h"
#include "engine/platform/WebPage.h"

namespace tw {

namespace page = platform::page;

namespace {

const int DEFAULT_PIXELS_X = 1024;
const int DEFAULT_PIXELS_Y = 768;

float cellSize(int pixels, int cells) {
  return cells > 0 ? static_cast<float>(pixels) / static_cast<float>(cells) : 0.0f;
}

float packed(Rgb color) {
  return static_cast<float>((static_cast<unsigned>(color.r) << 16) |
                            (static_cast<unsigned>(color.g) << 8) | color.b);
}

}  // namespace

const char* WebPresenter::getName() const { return "page"; }

int WebPresenter::open(const PresenterSettings& settings) {
  // A page has no desktop size to take: 0 means the default window.
  pixels_x = settings.horizontal_pixels > 0 ? settings.horizontal_pixels : DEFAULT_PIXELS_X;
  pixels_y = settings.vertical_pixels > 0 ? settings.vertical_pixels : DEFAULT_PIXELS_Y;
  cell_w = cellSize(pixels_x, settings.horizontal_chars);
  cell_h = cellSize(pixels_y, settings.vertical_chars);
  platform::page::CanvasGeometry geometry;
  geometry.cols = settings.horizontal_chars;
  geometry.rows = settings.vertical_chars;
  geometry.cell_w = cell_w;
  geometry.cell_h = cell_h;
  geometry.box_left = CELL_BOX_LEFT;
  geometry.box_top = CELL_BOX_TOP;
  geometry.fill_overlap = CELL_FILL_OVERLAP;
  geometry.background = static_cast<unsigned>(packed(settings.background));
  geometry.font_scale = settings.font_scale;
  if (!(cell_w > 0.0f && cell_h > 0.0f) ||
      page::open(geometry, pageFits(page::FONT_FILE, geometry)) != 0) {
    LogManager::getInstance().writeLog(
        "DisplayManager::startUp(): Error! The page has no canvas to draw on.");
    return -1;
  }
  coverage.reset(settings.horizontal_chars, settings.vertical_chars);
  grid = CellGrid(settings.horizontal_chars, settings.vertical_chars, settings.background);
  input = InputState();
  opened = true;
  return 0;
}

void WebPresenter::close() {
  if (!opened) return;
  opened = false;
  platform::page::close();
}

int WebPresenter::getHorizontalPixels() const { return pixels_x; }

int WebPresenter::getVerticalPixels() const { return pixels_y; }

int WebPresenter::getBackgroundsDrawn() const { return backgrounds_drawn; }

void WebPresenter::present(const DrawList& frame) {
  if (!opened) return;
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
  platform::page::present(list);
  grid.paint(frame, cell_w, cell_h);
  platform::page::setScreenText(grid.toText());
}

// Position in window pixels; the page scales them to the canvas. Box
// drawing, blocks and shades are marked as filling their cell.
void WebPresenter::addCharacter(const DrawItem& item) {
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
  out[page::CHARACTER_X] = item.x * cell_w;
  out[page::CHARACTER_Y] = item.y * cell_h;
  out[page::CHARACTER_ROTATION] = item.rotation;
  out[page::CHARACTER_HIDES] =
      item.has_background ? -1.0f - packed(item.background) : hides ? 1.0f : 0.0f;
  out[page::CHARACTER_FILLS] = fillsCell(item.ch) ? 1.0f : 0.0f;
  if (hides || inked) coverage.touch(left, top, right, bottom, true);
}

float* WebPresenter::addItem(std::size_t numbers) {
  list.resize(list.size() + numbers);
  return list.data() + list.size() - numbers;
}

void WebPresenter::addShape(const DrawItem& item) {
  const int n = item.shape.points;
  if (n < 3) return;
  coverage.markShape(item, cell_w, cell_h, corners);
  float* out = addItem(page::SHAPE_HEADER + corners.size());
  out[page::SHAPE_KIND] = page::DRAW_SHAPE;
  out[page::SHAPE_COLOR] = packed(item.color);
  out[page::SHAPE_ALPHA] = static_cast<float>(item.alpha);
  out[page::SHAPE_POINTS] = static_cast<float>(n);
  std::copy(corners.begin(), corners.end(), out + page::SHAPE_HEADER);
}

bool WebPresenter::pollEvent(platform::InputEvent& event) {
  if (!opened || !platform::page::pollEvent(event)) return false;
  input.track(event);
  return true;
}

bool WebPresenter::isKeyDown(platform::Key key) const { return input.isKeyDown(key); }

bool WebPresenter::isButtonDown(platform::MouseButton button) const {
  return input.isButtonDown(button);
}

Vector WebPresenter::getMousePosition() const { return input.getMousePosition(); }

void WebPresenter::setKeyRepeat(bool enabled) { platform::page::setKeyRepeat(enabled); }

}  // namespace tw
