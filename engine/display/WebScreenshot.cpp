// The display manager's screenshots in the browser build, which has no
// picture writer: refused with a log line.
#include "engine/display/DisplayManager.h"

#include "engine/core/LogManager.h"

namespace tw {

int DisplayManager::saveScreenshot(const std::string& filename) const {
  LogManager::getInstance().writeLog(
      "DisplayManager::saveScreenshot(): Error! Cannot write '%s': a page has no picture files.",
      filename.c_str());
  return -1;
}

}  // namespace tw
