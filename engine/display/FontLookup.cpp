#include "engine/display/FontLookup.h"

#include <fstream>

#include "engine/core/LogManager.h"
#include "engine/platform/FileCheck.h"

#ifndef TW_INSTALLED_DATA_DIR
#define TW_INSTALLED_DATA_DIR "/usr/local/share/tarnwick"
#endif

namespace tw {

namespace {
bool isReadableFile(const std::string& path) {
  if (path.empty() || platform::isSpecialFile(path)) return false;
  return std::ifstream(path, std::ios::binary).is_open();
}

std::string fileName(const std::string& path) {
  const std::size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}
}  // namespace

std::string installedDataFolder() { return TW_INSTALLED_DATA_DIR; }

std::string findFont(const std::string& configured, const std::string& program_folder,
                     const std::string& installed_folder) {
  const LogManager& log = LogManager::getInstance();
  const std::string name = fileName(configured);
  std::string candidates[] = {configured, "", ""};
  if (!program_folder.empty()) candidates[1] = program_folder + "/" + name;
  if (!installed_folder.empty()) candidates[2] = installed_folder + "/" + name;
  for (const std::string& path : candidates) {
    if (path.empty()) continue;
    if (isReadableFile(path)) return path;
    log.writeLog("DisplayManager::startUp(): Note! No font at '%s'.", path.c_str());
  }
  return "";
}

}  // namespace tw
