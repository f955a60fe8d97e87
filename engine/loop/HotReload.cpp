#include "engine/loop/HotReload.h"

#include <vector>

#include "engine/core/Config.h"
#include "engine/core/LogManager.h"
#include "engine/loop/ConfigReload.h"
#include "engine/platform/FileWatcher.h"
#include "engine/resources/ResourceManager.h"

namespace tw {

HotReload::HotReload() : loaded_count(0) {}

HotReload::~HotReload() = default;

HotReload& HotReload::getInstance() {
  static HotReload instance;
  return instance;
}

void HotReload::start(bool recording_or_replaying) {
  watcher.reset();
  if (!Config::getInstance().getHotReload()) return;
  const LogManager& log = LogManager::getInstance();
  if (recording_or_replaying) {
    log.writeLog("HotReload::start(): Note! hot_reload is off while input is recorded or replayed.");
    return;
  }
  watcher = std::make_unique<platform::FileWatcher>();
  loaded_count = 0;
  config_file = Config::getInstance().getConfigFileName();
  watcher->watch(config_file);
  log.writeLog("HotReload::start(): watching the game's files for changes (%s).",
               watcher->isNotified(config_file) ? "notified" : "checked once a second");
}

void HotReload::stop() { watcher.reset(); }

bool HotReload::isOn() const { return watcher != nullptr; }

// The tables only grow while the game runs, so their sizes tell when a file was added.
void HotReload::watchLoadedFiles() {
  const ResourceManager& resources = ResourceManager::getInstance();
  if (!resources.isStarted()) return;
  const int loaded =
      resources.getSpriteCount() + resources.getSoundCount() + resources.getMusicCount();
  if (loaded == loaded_count) return;
  loaded_count = loaded;
  for (const std::string& file : resources.getLoadedFiles()) watcher->watch(file);
}

int HotReload::check() {
  if (!watcher) return 0;
  watchLoadedFiles();
  const std::vector<std::string> changed = watcher->takeChanges();
  for (const std::string& file : changed) {
    if (file == config_file) {
      ConfigReload::apply();
    } else {
      ResourceManager::getInstance().reloadFile(file);
    }
  }
  return static_cast<int>(changed.size());
}

}  // namespace tw
