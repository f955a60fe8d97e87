// The engine's settings with their built-in defaults, filled once at start-up
// from the configuration file ("tw-config.txt" or TARNWICK_CONFIG), the
// record and replay variables and the program's overrides.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "engine/platform/Export.h"
#include "engine/core/Color.h"

namespace tw {

class TW_API Config {
 public:
  // The slowest loop taken, one frame a second: the longest frame_time
  // setting, and the longest frame a replay runs at.
  static const int MAX_FRAME_TIME = 1000;  // milliseconds
  // The largest character grid, columns or rows: the most window_*_chars
  // take, and so the most a replay can have been recorded on.
  static const int MAX_GRID_CHARS = 1000;

  static Config& getInstance();

  // Parses config; when it is empty the configuration file is read first.
  // An unknown key or a value that does not parse is skipped with a warning.
  void loadConfig(std::string config = "");
  // "tw-config.txt", or TARNWICK_CONFIG when set.
  std::string getConfigFileName() const;
  // The configuration file's lines joined into one string ("" when unreadable).
  std::string readConfig() const;
  // Writes every setting to the log at level 1.
  void printConfig() const;
  // Puts every setting back to its built-in default (overrides stay).
  void reset();
  // A "key:value" item that wins over the configuration file's own (the
  // program's command line adds them before start-up).
  void addOverride(const std::string& item);
  // A "key:value" item that counts only where neither an override, the
  // environment nor the configuration file sets the key: the program's own
  // default (its command line's display:auto).
  void addDefault(const std::string& item);
  // Forgets the overrides and the defaults.
  void clearOverrides();

  std::string getConfigString() const;
  int getFrameTime() const;
  float getFontScale() const;
  int getWindowHorizontalPixels() const;
  int getWindowVerticalPixels() const;
  int getWindowHorizontalChars() const;
  int getWindowVerticalChars() const;
  int getWindowStyle() const;
  int getWindowState() const;
  Color getWindowBackgroundColor() const;
  std::string getWindowTitle() const;
  bool getShowMouse() const;
  // True for display "none" too.
  bool getHeadless() const;
  // Where frames go: "window", "terminal", "capture" (kept, not shown),
  // "auto" (a window where a display can be opened, else the terminal when
  // standard input and output are one, else capture) or "none" (not drawn
  // at all; headless:true means the same).
  std::string getDisplay() const;
  // When set, every finished frame is also written there as text.
  std::string getSnapshotFile() const;
  std::string getFontFile() const;
  std::string getLogFile() const;
  int getRandomSeed() const;
  // A run's input is recorded into record_file, or replayed from
  // replay_file ("" for neither). TARNWICK_RECORD and TARNWICK_REPLAY win
  // over the configuration file; overrides win over both.
  std::string getRecordFile() const;
  std::string getReplayFile() const;
  bool getNetworking() const;
  // The longest whole network message a peer may announce, in bytes.
  int getMaxMessageBytes() const;
  // The port a server also listens on for WebSocket clients (0: a free one),
  // -1 for none.
  int getWebSocketPort() const;
  // Spectators: the port watchers' pages connect to (0: a free one, -1:
  // nobody watches), the address it listens on ("127.0.0.1" unless set) and
  // the most watchers served at once.
  int getSpectatePort() const;
  std::string getSpectateHost() const;
  int getMaxSpectators() const;
  int getGridWidth() const;
  int getGridHeight() const;
  // The debug overlay: shown from the start (debug_overlay, or TARNWICK_DEBUG
  // 1), the key that toggles it ("F1" to "F12", or "none"), and whether its
  // time figures show as placeholders (for frames compared in tests).
  bool getDebugOverlay() const;
  std::string getDebugKey() const;
  bool getDebugFreezeTimes() const;
  // Every pair of touching boxes in every move, and what came of it, logged.
  bool getLogCollisions() const;
  // Watch the loaded data files and the configuration file, and take their
  // changes while the game runs (never while input is recorded or replayed).
  bool getHotReload() const;
  // "frames" (the default: a step every frame) or "turns" (a step only for a
  // frame with input, or while something moves; see GameManager).
  std::string getLoopMode() const;

 private:
  Config();
  ~Config();
  Config(const Config&) = delete;
  void operator=(const Config&) = delete;
  void storeInt(const char* key, int& setting) const;
  void storeBool(const char* key, bool& setting) const;
  void storeString(const char* key, std::string& setting) const;
  void storeInRange(const char* key, const char* label, int& setting, int low, int high) const;
  void storeAtMost(const char* key, int& setting, int high) const;
  void storeFontScale();
  void warnUnknownKeys() const;
  void warnMissingCommas() const;
  void storeColor();
  void storeStyle();
  void storeState();
  void storeDisplay();
  void storeDebugKey();
  void storeLoopMode();

  // Every setting's value; kept out of this header so that a setting added
  // later changes neither the class's size nor its layout.
  struct Settings;
  std::unique_ptr<Settings> settings;
};

}  // namespace tw
