#include "engine/core/Config.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>

#include "engine/core/ConfigKeys.h"
#include "engine/core/LogManager.h"
#include "engine/core/Utility.h"
#include "engine/platform/FileCheck.h"

namespace tw {

namespace {
const char* const DEFAULT_CONFIG_FILE = "tw-config.txt";
const char* const DASHES = "-----------------------------------";
// Far above any real configuration; a larger file is refused whole.
const std::size_t MAX_CONFIG_BYTES = 1 << 20;
// Whole network messages: a peer's length over the setting closes the
// connection; the setting itself may not pass 1 GiB.
const int DEFAULT_MAX_MESSAGE_BYTES = 65536;
const int MAX_MAX_MESSAGE_BYTES = 1 << 30;
// Watchers a game serves by default, and at most: each costs a copy of every
// frame sent, so the cap keeps a crowd from taking the game's time.
const int DEFAULT_MAX_SPECTATORS = 32;
const int MAX_MAX_SPECTATORS = 1000;
const int MAX_WINDOW_PIXELS = 16384;   // the widest window a graphics card draws

std::string configFileName() {
  const char* env_name = std::getenv("TARNWICK_CONFIG");
  return env_name != nullptr ? env_name : DEFAULT_CONFIG_FILE;
}

const char* boolText(bool b) { return b ? "true" : "false"; }

// Every key the engine reads; any other key in the configuration is a typo
// or a setting of another version, and is reported.
const char* const KNOWN_KEYS[] = {
    "window_horizontal_pixels", "window_vertical_pixels", "window_horizontal_chars",
    "window_vertical_chars",    "window_style",           "window_state",
    "window_background_color",  "frame_time",             "font_scale",
    "window_title",             "show_mouse",             "headless",
    "display",                  "snapshot_file",          "font_file",
    "logfile",                  "random_seed",            "record_file",
    "replay_file",              "networking",             "max_message_bytes",
    "grid_width",               "grid_height",            "quadtree_depth",
    "quadtree_threshold",       "signals",                "debug_overlay",
    "debug_key",                "debug_freeze_times",     "log_collisions",
    "hot_reload",
    "loop_mode",
    "websocket_port",
    "spectate_port",
    "spectate_host",
    "max_spectators"};

bool isKnownKey(const std::string& key) {
  for (const char* known : KNOWN_KEYS) {
    if (key == known) return true;
  }
  return false;
}

// The keys of the items in config (blanks removed, as match() sees them).
std::vector<std::string> itemKeys(const std::string& config) {
  std::vector<std::string> keys;
  std::string key;
  bool in_key = true;
  for (char c : config + ",") {
    if (c == ',') {
      if (!key.empty()) keys.push_back(key);
      key.clear();
      in_key = true;
    } else if (c == ':') {
      if (!key.empty()) in_key = false;
    } else if (in_key && !std::isspace(static_cast<unsigned char>(c))) {
      key += c;
    }
  }
  return keys;
}

// True when text is a whole decimal number (an optional sign and digits
// only); a value beyond long long is clamped to its limits.
bool parseWhole(const std::string& text, long long& number) {
  if (text.empty()) return false;
  char* end = nullptr;
  number = std::strtoll(text.c_str(), &end, 10);
  return end != text.c_str() && *end == '\0' && !std::isspace(static_cast<unsigned char>(text[0]));
}

// A skipped value is reported with the key, so a typo is found in the file.
void warnValue(const char* key, const std::string& value, const char* expected) {
  LogManager::getInstance().writeLog(
      "Config::loadConfig(): Warning! %s '%.64s' is not %s. Skipped.", key, value.c_str(),
      expected);
}

// The settings the environment gives, as items placed before the file's own.
// A value the configuration syntax cannot carry is left out, with a warning.
std::string environmentItems() {
  static const char* const VARIABLES[][2] = {{"TARNWICK_RECORD", "record_file"},
                                             {"TARNWICK_REPLAY", "replay_file"}};
  std::string items;
  for (const auto& variable : VARIABLES) {
    const char* value = std::getenv(variable[0]);
    if (value == nullptr || value[0] == '\0') continue;
    if (std::string(value).find_first_of(",: \t\r\n") != std::string::npos) {
      LogManager::getInstance().writeLog(
          "Config::loadConfig(): Warning! %s '%s' holds a comma, colon or blank. Ignored.",
          variable[0], value);
      continue;
    }
    items += std::string(variable[1]) + ":" + value + ",";
  }
  // TARNWICK_DEBUG=1 shows the debug overlay from the start.
  const char* debug = std::getenv("TARNWICK_DEBUG");
  if (debug != nullptr && std::string(debug) == "1") items += "debug_overlay:true,";
  if (debug != nullptr && std::string(debug) == "0") items += "debug_overlay:false,";
  // TARNWICK_HOT_RELOAD=1 (or true) turns watching the data files on, 0 (or false) off.
  const char* hot = std::getenv("TARNWICK_HOT_RELOAD");
  const std::string hot_value = hot == nullptr ? "" : hot;
  if (hot_value == "1" || hot_value == "true") items += "hot_reload:true,";
  if (hot_value == "0" || hot_value == "false") items += "hot_reload:false,";
  return items;
}

// The keys that can toggle the debug overlay, and "none".
bool isDebugKeyName(const std::string& name) {
  if (name == "none") return true;
  for (int n = 1; n <= 12; n++) {
    if (name == "F" + std::to_string(n)) return true;
  }
  return false;
}

// At most limit + 1 bytes of in, so that a file over the limit shows as such
// without being read to its end.
std::string readAtMost(std::istream& in, std::size_t limit) {
  std::string content;
  char chunk[4096];
  while (content.size() <= limit && in.read(chunk, sizeof chunk).gcount() > 0) {
    content.append(chunk, static_cast<std::size_t>(in.gcount()));
  }
  return content;
}

// The lines of content without comments, empty lines and carriage returns,
// joined with nothing between them.
std::string joinLines(const std::string& content) {
  std::istringstream lines(content);
  std::string joined;
  std::string line;
  while (std::getline(lines, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line[0] == '#') continue;
    joined += line;
  }
  return joined;
}
}  // namespace

std::vector<std::string> configKeys() { return {std::begin(KNOWN_KEYS), std::end(KNOWN_KEYS)}; }

struct Config::Settings {
  std::string config_string;
  int window_horizontal_pixels;
  int window_vertical_pixels;
  int window_horizontal_chars;
  int window_vertical_chars;
  int window_style;  // bit set of the window library's styles
  int window_state;  // 0 windowed, 1 fullscreen
  Color window_background_color;
  int frame_time;  // milliseconds, 0 to 1000
  float font_scale;
  std::string window_title;
  bool show_mouse;
  bool headless;
  std::string display;
  std::string snapshot_file;
  std::vector<std::string> overrides;
  std::vector<std::string> defaults;
  std::string font_file;
  std::string logfile;
  int random_seed;
  std::string record_file;
  std::string replay_file;
  bool networking;
  int max_message_bytes;
  int websocket_port;
  int spectate_port;  // -1: no spectators
  std::string spectate_host;
  int max_spectators;
  int grid_width;   // world units per grid cell
  int grid_height;  // world units per grid cell
  int quadtree_depth;
  int quadtree_threshold;
  bool signals;
  bool debug_overlay;
  std::string debug_key;
  bool debug_freeze_times;
  bool log_collisions;
  bool hot_reload;
  std::string loop_mode;  // "frames" or "turns"
};

// Games linked against an earlier minor release hold this class by its size:
// a new setting goes into Settings, never into the class itself.
static_assert(sizeof(Config) == sizeof(void*), "Config's fields belong in Config::Settings");

Config::Config() : settings(new Settings) { reset(); }

Config::~Config() = default;

Config& Config::getInstance() {
  static Config instance;
  return instance;
}

void Config::reset() {
  settings->config_string.clear();
  settings->window_horizontal_pixels = 1024;
  settings->window_vertical_pixels = 768;
  settings->window_horizontal_chars = 80;
  settings->window_vertical_chars = 24;
  settings->window_style = 5;  // title bar and close button
  settings->window_state = 0;
  settings->window_background_color = BLACK;
  settings->frame_time = 33;
  settings->font_scale = 2.0f;
  settings->window_title = "Tarnwick";
  settings->show_mouse = false;
  settings->headless = false;
  settings->display = "window";
  settings->snapshot_file.clear();
  settings->font_file = "tw-font.ttf";
  settings->logfile = "tarnwick.log";
  settings->random_seed = 0;
  settings->record_file.clear();
  settings->replay_file.clear();
  settings->networking = true;
  settings->max_message_bytes = DEFAULT_MAX_MESSAGE_BYTES;
  settings->websocket_port = -1;
  settings->spectate_port = -1;
  settings->spectate_host = "127.0.0.1";
  settings->max_spectators = DEFAULT_MAX_SPECTATORS;
  settings->grid_width = 20;
  settings->grid_height = 8;
  settings->quadtree_depth = 10;
  settings->quadtree_threshold = 1;
  settings->signals = true;
  settings->debug_overlay = false;
  settings->debug_key = "F12";
  settings->debug_freeze_times = false;
  settings->log_collisions = false;
  settings->hot_reload = false;
  settings->loop_mode = "frames";
}

std::string Config::getConfigFileName() const { return configFileName(); }

std::string Config::readConfig() const {
  const std::string file_name = configFileName();
  const LogManager& log = LogManager::getInstance();
  // A device would be read without end and a pipe would block start-up.
  if (platform::isSpecialFile(file_name)) {
    log.writeLog("Config::readConfig(): Error! '%s' is not a regular file. Using defaults.",
                 file_name.c_str());
    return "";
  }
  std::ifstream file(file_name, std::ios::binary);
  if (!file.is_open()) {
    log.writeLog(1, "Config::readConfig(): Cannot open Tarnwick configuration file '%s'.",
                 file_name.c_str());
    return "";
  }
  const std::string content = readAtMost(file, MAX_CONFIG_BYTES);
  if (content.size() > MAX_CONFIG_BYTES) {
    log.writeLog("Config::readConfig(): Error! '%s' is larger than %zu bytes. Using defaults.",
                 file_name.c_str(), MAX_CONFIG_BYTES);
    return "";
  }
  return joinLines(content);
}

void Config::storeInt(const char* key, int& setting) const {
  std::string value = match(settings->config_string, key);
  if (value.empty()) return;
  long long number = 0;
  if (!parseWhole(value, number) || number < INT_MIN || number > INT_MAX) {
    warnValue(key, value, "a whole number");
    return;
  }
  setting = static_cast<int>(number);
}

void Config::storeBool(const char* key, bool& setting) const {
  std::string value = match(settings->config_string, key);
  if (value.empty()) return;
  if (value != "true" && value != "false") {
    warnValue(key, value, "true or false");
    return;
  }
  setting = (value == "true");
}

void Config::storeFontScale() {
  std::string value = match(settings->config_string, "font_scale");
  if (value.empty()) return;
  char* end = nullptr;
  const float scale = std::strtof(value.c_str(), &end);
  if (end == value.c_str() || *end != '\0' || !std::isfinite(scale)) {
    warnValue("font_scale", value, "a number");
    return;
  }
  settings->font_scale = scale;
}

void Config::warnUnknownKeys() const {
  for (const std::string& key : itemKeys(settings->config_string)) {
    if (isKnownKey(key)) continue;
    LogManager::getInstance().writeLog("Config::loadConfig(): Warning! Unknown key '%.64s'. Skipped.",
                                       key.c_str());
  }
}

// Lines are joined without a separator, so a line whose comma was forgotten
// runs into the next item ("display:capturesnapshot_file:out.txt"): a value
// that holds another setting's key and colon says where the comma is missing.
void Config::warnMissingCommas() const {
  std::istringstream items(settings->config_string);
  std::string item;
  while (std::getline(items, item, ',')) {
    item.erase(std::remove_if(item.begin(), item.end(),
                              [](unsigned char c) { return std::isspace(c) != 0; }),
               item.end());
    const std::size_t colon = item.find(':');
    if (colon == std::string::npos) continue;
    const std::string key = item.substr(0, colon);
    const std::string value = item.substr(colon + 1);
    for (const char* known : KNOWN_KEYS) {
      // The next item's key runs on with its colon: "capturesnapshot_file:".
      const std::size_t at = value.find(std::string(known) + ":");
      if (at == std::string::npos) continue;
      LogManager::getInstance().writeLog(
          "Config::loadConfig(): Warning! The value of %.64s holds the key %s: is a comma "
          "missing after '%.64s:%.64s'?",
          key.c_str(), known, key.c_str(), value.substr(0, at).c_str());
      break;
    }
  }
}

void Config::storeString(const char* key, std::string& setting) const {
  std::string value = match(settings->config_string, key);
  if (!value.empty()) setting = value;
}

// A whole number within [low, high]; anything else is refused with a
// warning that names the setting as label, and the setting stays.
void Config::storeInRange(const char* key, const char* label, int& setting, int low,
                          int high) const {
  std::string value = match(settings->config_string, key);
  if (value.empty()) return;
  long long number = 0;
  if (!parseWhole(value, number)) {
    warnValue(key, value, "a whole number");
    return;
  }
  if (number < low || number > high) {
    LogManager::getInstance().writeLog(
        "loadConfig(): Warning! %s '%s' not in range [%d,%d]. Keeping %d.", label, value.c_str(),
        low, high, setting);
    return;
  }
  setting = static_cast<int>(number);
}

// A whole number up to high: a larger one is refused, naming the setting
// and its limit, and the setting stays.
void Config::storeAtMost(const char* key, int& setting, int high) const {
  const int before = setting;
  storeInt(key, setting);
  if (setting <= high) return;
  LogManager::getInstance().writeLog(
      "Config::loadConfig(): Warning! %s '%d' is over its limit of %d. Keeping %d.", key, setting,
      high, before);
  setting = before;
}

void Config::storeColor() {
  static const char* const names[] = {"black", "red",     "green", "yellow",
                                      "blue",  "magenta", "cyan",  "white"};
  std::string value = match(settings->config_string, "window_background_color");
  if (value.empty()) return;
  for (int c = BLACK; c <= WHITE; c++) {
    if (value == names[c]) {
      settings->window_background_color = static_cast<Color>(c);
      return;
    }
  }
  LogManager::getInstance().writeLog("loadConfig(): Unsupported window color '%s'", value.c_str());
}

void Config::storeStyle() {
  std::string value = match(settings->config_string, "window_style");
  if (value.empty()) return;
  if (value == "none") {
    settings->window_style = 0;
    return;
  }
  int style = atoi(value.c_str());
  if (style != 0) {
    settings->window_style = style;
    return;
  }
  LogManager::getInstance().writeLog("loadConfig(): Unsupported window style '%s'", value.c_str());
}

void Config::storeState() {
  std::string value = match(settings->config_string, "window_state");
  if (value.empty()) return;
  if (value == "fullscreen") {
    settings->window_state = 1;
  } else if (value == "default") {
    settings->window_state = 0;
  } else {
    LogManager::getInstance().writeLog("loadConfig(): Unsupported window state '%s'",
                                       value.c_str());
  }
}

void Config::storeDisplay() {
  std::string value = match(settings->config_string, "display");
  if (value.empty()) return;
  if (value == "window" || value == "terminal" || value == "capture" || value == "none" ||
      value == "auto") {
    settings->display = value;
    return;
  }
  LogManager::getInstance().writeLog("loadConfig(): Unsupported display '%s'", value.c_str());
}

void Config::addOverride(const std::string& item) { settings->overrides.push_back(item); }

void Config::addDefault(const std::string& item) { settings->defaults.push_back(item); }

void Config::clearOverrides() {
  settings->overrides.clear();
  settings->defaults.clear();
}

void Config::loadConfig(std::string config) {
  if (config.empty()) config = readConfig();
  config = environmentItems() + config;
  // Defaults go behind, where any other item of their key wins.
  for (const std::string& item : settings->defaults) config += (config.empty() ? "" : ",") + item;
  // The value of a key's first item counts, so overrides go in front.
  for (auto it = settings->overrides.rbegin(); it != settings->overrides.rend(); ++it) {
    config = *it + (config.empty() ? "" : ",") + config;
  }
  settings->config_string = config;
  match(settings->config_string, "");
  warnUnknownKeys();
  warnMissingCommas();
  // A longer frame would stall the loop for minutes (and its microsecond
  // arithmetic would overflow), a negative one means nothing.
  storeInRange("frame_time", "Frame time", settings->frame_time, 0, MAX_FRAME_TIME);
  storeFontScale();
  // Sizes that could not be allocated (a grid of 100000 by 100000 cells, a
  // window beyond any screen) are refused; the display refuses sizes below 1.
  storeAtMost("window_horizontal_pixels", settings->window_horizontal_pixels, MAX_WINDOW_PIXELS);
  storeAtMost("window_vertical_pixels", settings->window_vertical_pixels, MAX_WINDOW_PIXELS);
  storeAtMost("window_horizontal_chars", settings->window_horizontal_chars,
              MAX_GRID_CHARS);
  storeAtMost("window_vertical_chars", settings->window_vertical_chars, MAX_GRID_CHARS);
  storeColor();
  storeStyle();
  storeState();
  storeString("window_title", settings->window_title);
  storeBool("show_mouse", settings->show_mouse);
  storeBool("headless", settings->headless);
  storeDisplay();
  storeString("snapshot_file", settings->snapshot_file);
  storeString("font_file", settings->font_file);
  storeString("logfile", settings->logfile);
  storeInt("random_seed", settings->random_seed);
  storeString("record_file", settings->record_file);
  storeString("replay_file", settings->replay_file);
  storeBool("networking", settings->networking);
  storeInRange("max_message_bytes", "Max message bytes", settings->max_message_bytes, 1,
               MAX_MAX_MESSAGE_BYTES);
  storeInRange("websocket_port", "WebSocket port", settings->websocket_port, -1, 65535);
  storeInRange("spectate_port", "Spectate port", settings->spectate_port, -1, 65535);
  storeString("spectate_host", settings->spectate_host);
  storeInRange("max_spectators", "Max spectators", settings->max_spectators, 1, MAX_MAX_SPECTATORS);
  storeInt("grid_width", settings->grid_width);
  storeInt("grid_height", settings->grid_height);
  storeInt("quadtree_depth", settings->quadtree_depth);
  storeInt("quadtree_threshold", settings->quadtree_threshold);
  storeBool("signals", settings->signals);
  storeBool("hot_reload", settings->hot_reload);
  storeBool("debug_overlay", settings->debug_overlay);
  storeDebugKey();
  storeBool("debug_freeze_times", settings->debug_freeze_times);
  storeBool("log_collisions", settings->log_collisions);
  storeLoopMode();
}

void Config::storeLoopMode() {
  const std::string value = match(settings->config_string, "loop_mode");
  if (value.empty()) return;
  if (value == "frames" || value == "turns") {
    settings->loop_mode = value;
  } else {
    warnValue("loop_mode", value, "frames or turns");
  }
}

void Config::storeDebugKey() {
  const std::string value = match(settings->config_string, "debug_key");
  if (value.empty()) return;
  if (isDebugKeyName(value)) {
    settings->debug_key = value;
  } else {
    warnValue("debug_key", value, "F1 to F12 or none");
  }
}

void Config::printConfig() const {
  const LogManager& log = LogManager::getInstance();
  log.writeLog(1, "%s", DASHES);
  log.writeLog(1, "Tarnwick configuration:");
  log.writeLog(1, "  Window horizontal pixels: %d", settings->window_horizontal_pixels);
  log.writeLog(1, "  Window vertical pixels: %d", settings->window_vertical_pixels);
  log.writeLog(1, "  Window horizontal characters: %d", settings->window_horizontal_chars);
  log.writeLog(1, "  Window vertical characters: %d", settings->window_vertical_chars);
  log.writeLog(1, "  Window background color: %d",
               static_cast<int>(settings->window_background_color));
  log.writeLog(1, "  Frame time: %d", settings->frame_time);
  log.writeLog(1, "  Window style: %d", settings->window_style);
  log.writeLog(1, "  Window state: %s", settings->window_state == 1 ? "fullscreen" : "default");
  log.writeLog(1, "  Window title: %s", settings->window_title.c_str());
  log.writeLog(1, "  Show mouse: %s", boolText(settings->show_mouse));
  log.writeLog(1, "  Headless: %s", boolText(settings->headless));
  log.writeLog(1, "  Display: %s", getDisplay().c_str());
  log.writeLog(1, "  Font file: %s", settings->font_file.c_str());
  log.writeLog(1, "  Log file: %s", settings->logfile.c_str());
  log.writeLog(1, "  Random seed: %d", settings->random_seed);
  const std::string& record = settings->record_file;
  const std::string& replay = settings->replay_file;
  if (!record.empty()) log.writeLog(1, "  Record file: %s", record.c_str());
  if (!replay.empty()) log.writeLog(1, "  Replay file: %s", replay.c_str());
  log.writeLog(1, "  Networking: %s", boolText(settings->networking));
  log.writeLog(1, "  Max message bytes: %d", settings->max_message_bytes);
  if (settings->websocket_port >= 0) log.writeLog(1, "  WebSocket port: %d", settings->websocket_port);
  if (settings->spectate_port >= 0) {
    log.writeLog(1, "  Spectate: port %d on %s, at most %d watchers", settings->spectate_port,
                 settings->spectate_host.c_str(), settings->max_spectators);
  }
  log.writeLog(1, "  Scene graph: grid");
  log.writeLog(1, "  Grid width: %d", settings->grid_width);
  log.writeLog(1, "  Grid height: %d", settings->grid_height);
  log.writeLog(1, "  Debug overlay: %s (key %s)", boolText(settings->debug_overlay),
               settings->debug_key.c_str());
  log.writeLog(1, "  Log collisions: %s", boolText(settings->log_collisions));
  log.writeLog(1, "  Hot reload: %s", boolText(settings->hot_reload));
  log.writeLog(1, "  Loop mode: %s", settings->loop_mode.c_str());
  log.writeLog(1, "%s", DASHES);
}

std::string Config::getConfigString() const { return settings->config_string; }
int Config::getFrameTime() const { return settings->frame_time; }
float Config::getFontScale() const { return settings->font_scale; }
int Config::getWindowHorizontalPixels() const { return settings->window_horizontal_pixels; }
int Config::getWindowVerticalPixels() const { return settings->window_vertical_pixels; }
int Config::getWindowHorizontalChars() const { return settings->window_horizontal_chars; }
int Config::getWindowVerticalChars() const { return settings->window_vertical_chars; }
int Config::getWindowStyle() const { return settings->window_style; }
int Config::getWindowState() const { return settings->window_state; }
Color Config::getWindowBackgroundColor() const { return settings->window_background_color; }
std::string Config::getWindowTitle() const { return settings->window_title; }
bool Config::getShowMouse() const { return settings->show_mouse; }
bool Config::getHeadless() const { return settings->headless || settings->display == "none"; }
std::string Config::getDisplay() const { return settings->headless ? "none" : settings->display; }
std::string Config::getSnapshotFile() const { return settings->snapshot_file; }
std::string Config::getFontFile() const { return settings->font_file; }
std::string Config::getLogFile() const { return settings->logfile; }
int Config::getRandomSeed() const { return settings->random_seed; }
std::string Config::getLoopMode() const { return settings->loop_mode; }
std::string Config::getRecordFile() const { return settings->record_file; }
std::string Config::getReplayFile() const { return settings->replay_file; }
bool Config::getNetworking() const { return settings->networking; }
int Config::getMaxMessageBytes() const { return settings->max_message_bytes; }
int Config::getWebSocketPort() const { return settings->websocket_port; }
int Config::getSpectatePort() const { return settings->spectate_port; }
std::string Config::getSpectateHost() const { return settings->spectate_host; }
int Config::getMaxSpectators() const { return settings->max_spectators; }
int Config::getGridWidth() const { return settings->grid_width; }
int Config::getGridHeight() const { return settings->grid_height; }
bool Config::getHotReload() const { return settings->hot_reload; }

bool Config::getDebugOverlay() const { return settings->debug_overlay; }
std::string Config::getDebugKey() const { return settings->debug_key; }
bool Config::getDebugFreezeTimes() const { return settings->debug_freeze_times; }
bool Config::getLogCollisions() const { return settings->log_collisions; }

}  // namespace tw
