#include "engine/display/DisplayManager.h"

#include "engine/core/Config.h"
#include "engine/core/LogManager.h"
#include "engine/core/Unicode.h"
#include "engine/display/CellCanvas.h"
#include "engine/display/DrawList.h"
#include "engine/display/Presenter.h"
#include "engine/display/PresenterFactory.h"

#include <cstdio>

namespace tw {

namespace {

// Items one frame may hold: a game that draws without ever swapping would
// otherwise grow the list without bound.
const std::size_t MAX_FRAME_ITEMS = 1u << 20;

float cellSize(int pixels, int cells) {
  return cells > 0 ? static_cast<float>(pixels) / static_cast<float>(cells) : 0.0f;
}

}  // namespace

DisplayManager::DisplayManager()
    : window_horizontal_pixels(0),
      window_vertical_pixels(0),
      window_horizontal_chars(0),
      window_vertical_chars(0),
      draw_lists(new DrawList[2]),
      frame(draw_lists[0]),
      last_frame(draw_lists[1]),
      grid_current(false) {
  setType("DisplayManager");
  Canvas::set(this);
}

DisplayManager::~DisplayManager() {
  if (Canvas::get() == this) Canvas::set(nullptr);
}

bool DisplayManager::canDraw() const { return isStarted() && presenter != nullptr; }

DisplayManager& DisplayManager::getInstance() {
  static DisplayManager display_manager;
  return display_manager;
}

int DisplayManager::startUp() {
  LogManager& log = LogManager::getInstance();
  if (isStarted()) {
    log.writeLog("%s::startup(): Warning! %s already started.", getType().c_str(),
                 getType().c_str());
    return -1;
  }
  const Config& config = Config::getInstance();
  window_horizontal_pixels = config.getWindowHorizontalPixels();
  window_vertical_pixels = config.getWindowVerticalPixels();
  window_horizontal_chars = config.getWindowHorizontalChars();
  window_vertical_chars = config.getWindowVerticalChars();
  window_background_color = colorToRgb(config.getWindowBackgroundColor());
  frame.clear();
  last_frame.clear();
  last_grid = CellGrid();
  grid_current = false;
  if (config.getHeadless()) {
    log.writeLog(1, "DisplayManager::startUp(): no graphics in headless mode.");
  } else if (openPresenter() != 0) {
    return -1;
  }
  Manager::startUp();
  log.writeLog(5, "DisplayManager::startUp(): successfully started.");
  return 0;
}

int DisplayManager::openPresenter() {
  const Config& config = Config::getInstance();
  presenter = makePresenter(config.getDisplay());
  if (!presenter) {
    LogManager::getInstance().writeLog("DisplayManager::startUp(): Error! Display '%s' not available.",
                                       config.getDisplay().c_str());
    return -1;
  }
  PresenterSettings settings;
  settings.horizontal_pixels = window_horizontal_pixels;
  settings.vertical_pixels = window_vertical_pixels;
  settings.horizontal_chars = window_horizontal_chars;
  settings.vertical_chars = window_vertical_chars;
  settings.background = window_background_color;
  settings.title = config.getWindowTitle();
  settings.window_style = static_cast<std::uint32_t>(config.getWindowStyle());
  settings.window_state = config.getWindowState();
  settings.show_mouse = config.getShowMouse();
  settings.font_file = config.getFontFile();
  settings.font_scale = config.getFontScale();
  if (presenter->open(settings) != 0) {
    presenter.reset();
    return -1;
  }
  window_horizontal_pixels = presenter->getHorizontalPixels();
  window_vertical_pixels = presenter->getVerticalPixels();
  if (config.getDisplay() == "auto") {
    LogManager::getInstance().writeLog("DisplayManager::startUp(): display:auto chose the %s.",
                                       presenter->getName());
  }
  LogManager::getInstance().writeLog(1, "DisplayManager::startUp(): drawing to the %s.",
                                     presenter->getName());
  return 0;
}

void DisplayManager::shutDown() {
  if (presenter) presenter->close();
  presenter.reset();
  frame.clear();
  Manager::shutDown();
  LogManager::getInstance().writeLog(5, "DisplayManager::shutDown(): successfully stopped.");
}

namespace {

// A char is a whole character only within ASCII.
char32_t fromChar(char ch) {
  const unsigned char c = static_cast<unsigned char>(ch);
  return c < 0x80 ? c : REPLACEMENT_CHARACTER;
}

}  // namespace

int DisplayManager::drawCharacter(Vector world_pos, char32_t ch, std::uint8_t r, std::uint8_t g,
                                  std::uint8_t b, float rotation) const {
  if (!isStarted()) {
    LogManager::getInstance().writeLog("%s not started!", getType().c_str());
    return -1;
  }
  if (!presenter || frame.size() >= MAX_FRAME_ITEMS) return -1;
  const Vector view = worldToView(world_pos);
  frame.addCharacter(view.getX(), view.getY(), cellCharacter(ch), Rgb{r, g, b}, rotation);
  return 0;
}

int DisplayManager::drawCell(Vector world_pos, char32_t ch, Rgb color,
                             const Rgb* background) const {
  if (background == nullptr) return drawCharacter(world_pos, ch, color.r, color.g, color.b);
  if (!isStarted()) {
    LogManager::getInstance().writeLog("%s not started!", getType().c_str());
    return -1;
  }
  if (!presenter || frame.size() >= MAX_FRAME_ITEMS) return -1;
  const Vector view = worldToView(world_pos);
  frame.addCell(view.getX(), view.getY(), cellCharacter(ch), color, *background);
  return 0;
}

int DisplayManager::drawCellRow(Vector world_pos, const CanvasCell* cells, int count) const {
  if (!isStarted()) {
    LogManager::getInstance().writeLog("%s not started!", getType().c_str());
    return -1;
  }
  if (!presenter || count < 0 || frame.size() + static_cast<std::size_t>(count) > MAX_FRAME_ITEMS) {
    return -1;
  }
  const Vector view = worldToView(world_pos);
  frame.reserve(static_cast<std::size_t>(count));
  for (int i = 0; i < count; i++) {
    const CanvasCell& cell = cells[i];
    const char32_t ch = cell.ch >= 0x20 && cell.ch < 0x7f ? cell.ch : cellCharacter(cell.ch);
    frame.addCell(view.getX() + static_cast<float>(i), view.getY(), ch, cell.fg, cell.bg);
  }
  return 0;
}

int DisplayManager::drawCharacter(Vector world_pos, char32_t ch, Rgb fg, Rgb bg) const {
  return drawCell(world_pos, ch, fg, &bg);
}

int DisplayManager::drawCharacter(Vector world_pos, char32_t ch, Color fg, Color bg) const {
  const Rgb bg_rgb = colorToRgb(bg);
  return drawCell(world_pos, ch, colorToRgb(fg), bg == UNDEFINED_COLOR ? nullptr : &bg_rgb);
}

int DisplayManager::drawCharacter(Vector world_pos, char ch, Color fg, Color bg) const {
  return drawCharacter(world_pos, fromChar(ch), fg, bg);
}

int DisplayManager::drawCharacter(Vector world_pos, int ch, Color fg, Color bg) const {
  return drawCharacter(world_pos, static_cast<char32_t>(ch), fg, bg);
}

int DisplayManager::drawCharacter(Vector world_pos, char ch, std::uint8_t r, std::uint8_t g,
                                  std::uint8_t b, float rotation) const {
  return drawCharacter(world_pos, fromChar(ch), r, g, b, rotation);
}

int DisplayManager::drawCharacter(Vector world_pos, char32_t ch, Color color,
                                  float rotation) const {
  if (Config::getInstance().getHeadless()) return -1;
  std::uint8_t r = FALLBACK_CHANNEL;
  std::uint8_t g = FALLBACK_CHANNEL;
  std::uint8_t b = FALLBACK_CHANNEL;
  colorToRGB(color, r, g, b);
  return drawCharacter(world_pos, ch, r, g, b, rotation);
}

int DisplayManager::drawCharacter(Vector world_pos, char ch, Color color, float rotation) const {
  return drawCharacter(world_pos, fromChar(ch), color, rotation);
}

int DisplayManager::drawCharacter(Vector world_pos, int ch, Color color, float rotation) const {
  return drawCharacter(world_pos, static_cast<char32_t>(ch), color, rotation);
}

int DisplayManager::drawCharacter(Vector world_pos, int ch, std::uint8_t r, std::uint8_t g,
                                  std::uint8_t b, float rotation) const {
  return drawCharacter(world_pos, static_cast<char32_t>(ch), r, g, b, rotation);
}

int DisplayManager::drawString(Vector world_pos, std::string str, Justification just,
                               Color color) const {
  return drawText(world_pos, str, just, colorToRgb(color), nullptr);
}

int DisplayManager::drawString(Vector world_pos, std::string str, Justification just, Color fg,
                               Color bg) const {
  const Rgb bg_rgb = colorToRgb(bg);
  return drawText(world_pos, str, just, colorToRgb(fg), bg == UNDEFINED_COLOR ? nullptr : &bg_rgb);
}

int DisplayManager::drawString(Vector world_pos, std::string str, Justification just, Rgb fg,
                               Rgb bg) const {
  return drawText(world_pos, str, just, fg, &bg);
}

int DisplayManager::drawText(Vector world_pos, const std::string& str, Justification just, Rgb fg,
                             const Rgb* bg) const {
  if (!isStarted()) {
    LogManager::getInstance().writeLog("%s not started!", getType().c_str());
    return -1;
  }
  if (!presenter) return -1;
  const std::size_t length = cellCount(str);
  float start_x = world_pos.getX();
  if (just == JUSTIFY_CENTER) start_x -= static_cast<float>(length / 2);
  if (just == JUSTIFY_RIGHT) start_x -= static_cast<float>(length);
  std::size_t at = 0;
  for (std::size_t i = 0; i < length; i++) {
    const Utf8Character c = decodeUtf8(str.data() + at, str.size() - at);
    at += c.length;
    const char32_t shown = c.fault == Utf8Fault::NONE ? c.code : REPLACEMENT_CHARACTER;
    drawCell(Vector(start_x + static_cast<float>(i), world_pos.getY()), shown, fg, bg);
  }
  return 0;
}

int DisplayManager::drawShape(Vector world_pos, const ShapeOutline& outline, Rgb color,
                              std::uint8_t alpha, float rotation) const {
  if (!isStarted() || !presenter || frame.size() >= MAX_FRAME_ITEMS) return -1;
  const Vector view = worldToView(world_pos);
  frame.addShape(view.getX(), view.getY(), outline, color, alpha, rotation);
  return 0;
}

int DisplayManager::swapBuffers() {
  if (!isStarted()) {
    LogManager::getInstance().writeLog("%s not started!", getType().c_str());
    return -1;
  }
  if (!presenter) return -1;
  last_frame.swap(frame);
  frame.clear();
  grid_current = false;
  if (!Config::getInstance().getSnapshotFile().empty()) writeSnapshotFile();
  presenter->present(last_frame);
  return 0;
}

// Written beside and then renamed over the file, so a reader never sees half
// a frame.
void DisplayManager::writeSnapshotFile() const {
  const std::string name = Config::getInstance().getSnapshotFile();
  const std::string part = name + ".part";
  if (snapshot().writeText(part) != 0 || std::rename(part.c_str(), name.c_str()) != 0) {
    LogManager::getInstance().writeLog("DisplayManager::swapBuffers(): Error! Cannot write '%s'.",
                                       name.c_str());
  }
}

const CellGrid& DisplayManager::snapshot() const {
  if (!grid_current) {
    if (!presenter) {
      last_grid = CellGrid();
    } else {
      if (last_grid.getWidth() != window_horizontal_chars ||
          last_grid.getHeight() != window_vertical_chars) {
        last_grid = CellGrid(window_horizontal_chars, window_vertical_chars,
                             window_background_color);
      }
      last_grid.paint(last_frame, cellSize(window_horizontal_pixels, window_horizontal_chars),
                      cellSize(window_vertical_pixels, window_vertical_chars));
    }
    grid_current = true;
  }
  return last_grid;
}

const DrawList& DisplayManager::getFrame() const { return frame; }

const DrawList& DisplayManager::getLastFrame() const { return last_frame; }

void DisplayManager::setBackgroundColor(Color color) {
  window_background_color = colorToRgb(color);
  last_grid = CellGrid();  // repainted in the new colour at the next look
  grid_current = false;
  if (presenter) presenter->setBackground(window_background_color);
}

Rgb DisplayManager::getBackground() const { return window_background_color; }

int DisplayManager::getHorizontalChars() const { return window_horizontal_chars; }

int DisplayManager::getVerticalChars() const { return window_vertical_chars; }

int DisplayManager::getHorizontalPixels() const { return window_horizontal_pixels; }

int DisplayManager::getVerticalPixels() const { return window_vertical_pixels; }

Presenter* DisplayManager::getPresenter() const { return presenter.get(); }

std::string DisplayManager::getPresenterName() const {
  return presenter ? presenter->getName() : "";
}

}  // namespace tw
