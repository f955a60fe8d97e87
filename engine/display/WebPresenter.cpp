#include "engine/display/WebPresenter.h"

#include "engine/core/LogManager.h"
#include "engine/display/PageFits.h"
#include "engine/platform/WebPage.h"

namespace tw {

namespace {

const int DEFAULT_PIXELS_X = 1024;
const int DEFAULT_PIXELS_Y = 768;

}  // namespace

const char* WebPresenter::getName() const { return "page"; }

int WebPresenter::open(const PresenterSettings& settings) {
  // A page has no desktop size to take: 0 means the default window.
  pixels_x = settings.horizontal_pixels > 0 ? settings.horizontal_pixels : DEFAULT_PIXELS_X;
  pixels_y = settings.vertical_pixels > 0 ? settings.vertical_pixels : DEFAULT_PIXELS_Y;
  if (!page_frame.open(settings, pixels_x, pixels_y) ||
      platform::page::open(page_frame.getGeometry(),
                           pageFits(platform::page::FONT_FILE, page_frame.getGeometry()),
                           settings.title) != 0) {
    LogManager::getInstance().writeLog(
        "DisplayManager::startUp(): Error! The page has no canvas to draw on.");
    return -1;
  }
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

int WebPresenter::getBackgroundsDrawn() const { return page_frame.getBackgroundsDrawn(); }

void WebPresenter::present(const DrawList& frame) {
  if (!opened) return;
  platform::page::present(page_frame.encode(frame));
  grid.paint(frame, page_frame.getCellWidth(), page_frame.getCellHeight());
  platform::page::setScreenText(grid.toText());
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
