#include "engine/loop/ConfigReload.h"

#include <string>

#include "engine/core/Config.h"
#include "engine/core/LogManager.h"
#include "engine/core/LoopState.h"
#include "engine/display/DisplayManager.h"
#include "engine/loop/DebugOverlay.h"
#include "engine/world/WorldManager.h"

namespace tw {

namespace {
using Getter = std::string (*)(const Config&);

// The settings read only when the managers start, with their values written
// as the configuration file writes them.
struct StartSetting {
  const char* key;
  Getter value;
};

std::string text(int value) { return std::to_string(value); }
std::string text(bool value) { return value ? "true" : "false"; }
std::string text(float value) { return std::to_string(value); }
std::string text(const char* value) { return value; }
std::string text(const std::string& value) { return value; }

const StartSetting START_SETTINGS[] = {
    {"window_horizontal_pixels", [](const Config& c) { return text(c.getWindowHorizontalPixels()); }},
    {"window_vertical_pixels", [](const Config& c) { return text(c.getWindowVerticalPixels()); }},
    {"window_horizontal_chars", [](const Config& c) { return text(c.getWindowHorizontalChars()); }},
    {"window_vertical_chars", [](const Config& c) { return text(c.getWindowVerticalChars()); }},
    {"window_style",
     [](const Config& c) { return c.getWindowStyle() == 0 ? text("none") : text(c.getWindowStyle()); }},
    {"window_state",
     [](const Config& c) { return text(c.getWindowState() == 1 ? "fullscreen" : "default"); }},
    {"font_scale", [](const Config& c) { return text(c.getFontScale()); }},
    {"window_title", [](const Config& c) { return text(c.getWindowTitle()); }},
    {"show_mouse", [](const Config& c) { return text(c.getShowMouse()); }},
    {"headless", [](const Config& c) { return text(c.getHeadless()); }},
    {"display", [](const Config& c) { return text(c.getDisplay()); }},
    {"snapshot_file", [](const Config& c) { return text(c.getSnapshotFile()); }},
    {"font_file", [](const Config& c) { return text(c.getFontFile()); }},
    {"logfile", [](const Config& c) { return text(c.getLogFile()); }},
    {"random_seed", [](const Config& c) { return text(c.getRandomSeed()); }},
    {"record_file", [](const Config& c) { return text(c.getRecordFile()); }},
    {"replay_file", [](const Config& c) { return text(c.getReplayFile()); }},
    {"networking", [](const Config& c) { return text(c.getNetworking()); }},
    {"max_message_bytes", [](const Config& c) { return text(c.getMaxMessageBytes()); }},
    {"spectate_port", [](const Config& c) { return text(c.getSpectatePort()); }},
    {"spectate_host", [](const Config& c) { return text(c.getSpectateHost()); }},
    {"max_spectators", [](const Config& c) { return text(c.getMaxSpectators()); }},
    {"grid_width", [](const Config& c) { return text(c.getGridWidth()); }},
    {"grid_height", [](const Config& c) { return text(c.getGridHeight()); }},
    {"hot_reload", [](const Config& c) { return text(c.getHotReload()); }},
    {"debug_key", [](const Config& c) { return text(c.getDebugKey()); }},
    {"debug_freeze_times", [](const Config& c) { return text(c.getDebugFreezeTimes()); }},
};

std::vector<std::string> startValues(const Config& config) {
  std::vector<std::string> values;
  for (const StartSetting& setting : START_SETTINGS) values.push_back(setting.value(config));
  return values;
}

// The changed settings that wait for a restart keep their running values, so
// that what was started and what the settings say stay one thing.
std::vector<std::string> holdStartSettings(Config& config, const std::vector<std::string>& before) {
  std::vector<std::string> waiting;
  std::string held;
  const std::vector<std::string> after = startValues(config);
  for (std::size_t i = 0; i < after.size(); i++) {
    if (after[i] == before[i]) continue;
    waiting.push_back(START_SETTINGS[i].key);
    held += std::string(START_SETTINGS[i].key) + ":" + before[i] + ",";
    LogManager::getInstance().writeLog(
        "ConfigReload::apply(): Note! %s changed; it takes effect at the next start.",
        START_SETTINGS[i].key);
  }
  if (held.empty()) return waiting;
  config.reset();
  config.loadConfig(held + config.readConfig());  // a key's first item counts
  return waiting;
}
}  // namespace

std::vector<std::string> ConfigReload::apply() {
  Config& config = Config::getInstance();
  const LogManager& log = LogManager::getInstance();
  const std::vector<std::string> before = startValues(config);
  const int frame_time = config.getFrameTime();
  const Color background = config.getWindowBackgroundColor();
  const bool overlay = config.getDebugOverlay();
  // Settings the file no longer names go back to their defaults.
  config.reset();
  config.loadConfig("");
  const std::vector<std::string> waiting = holdStartSettings(config, before);
  if (config.getFrameTime() != frame_time) {
    LoopState::getInstance().setFrameTime(config.getFrameTime());
    log.writeLog("ConfigReload::apply(): frame_time is now %d ms.", config.getFrameTime());
  }
  if (config.getWindowBackgroundColor() != background) {
    DisplayManager::getInstance().setBackgroundColor(config.getWindowBackgroundColor());
    log.writeLog("ConfigReload::apply(): window_background_color changed.");
  }
  if (config.getDebugOverlay() != overlay) {
    DebugOverlay::getInstance().setShown(config.getDebugOverlay());
    log.writeLog("ConfigReload::apply(): debug_overlay is now %s.",
                 config.getDebugOverlay() ? "true" : "false");
  }
  WorldManager::getInstance().setCollisionTrace(config.getLogCollisions());
  return waiting;
}

}  // namespace tw
