// The display manager's screenshots in the native build: the last finished
// frame painted with the engine's font and written as PNG.
#include "engine/display/DisplayManager.h"

#include "engine/core/Config.h"
#include "engine/core/LogManager.h"
#include "engine/display/CellPicture.h"
#include "engine/display/FontLookup.h"
#include "engine/platform/Files.h"

#include <cmath>

namespace tw {

namespace {

// Whole pixels a cell, as near the window's as can be.
int wholeCell(int pixels, int cells) {
  if (cells <= 0) return 1;
  return std::max(1, static_cast<int>(std::lround(static_cast<double>(pixels) / cells)));
}

}  // namespace

int DisplayManager::saveScreenshot(const std::string& filename) const {
  LogManager& log = LogManager::getInstance();
  if (!isStarted()) {
    log.writeLog("%s not started!", getType().c_str());
    return -1;
  }
  if (!presenter) {
    log.writeLog("DisplayManager::saveScreenshot(): Error! Nothing is drawn in headless mode.");
    return -1;
  }
  const std::string font_file =
      findFont(Config::getInstance().getFontFile(), platform::programFolder(), installedDataFolder());
  CellPicture picture(wholeCell(window_horizontal_pixels, window_horizontal_chars),
                      wholeCell(window_vertical_pixels, window_vertical_chars));
  std::string why = "no font file found";
  if (font_file.empty() || !picture.setFont(font_file, why)) {
    log.writeLog("DisplayManager::saveScreenshot(): Error! Cannot write '%s': %s.",
                 filename.c_str(), why.c_str());
    return -1;
  }
  picture.paint(snapshot());
  if (!picture.writePng(filename, why)) {
    log.writeLog("DisplayManager::saveScreenshot(): Error! Cannot write '%s': %s.",
                 filename.c_str(), why.c_str());
    return -1;
  }
  return 0;
}

}  // namespace tw
