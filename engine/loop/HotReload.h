// Takes changes of the game's data files and of the configuration file while
// the game runs: watches every file the resource manager loaded and the
// configuration file, and once a frame reloads whatever was saved since.
#pragma once

#include <memory>
#include <string>

namespace tw {

namespace platform {
class FileWatcher;
}  // namespace platform

class HotReload {
 public:
  static HotReload& getInstance();
  ~HotReload();

  // Starts watching when the hot_reload setting is on, unless input is
  // recorded or replayed (a run must stay the same as its recording).
  void start(bool recording_or_replaying);
  void stop();
  bool isOn() const;
  // Watches the files loaded since the last call and reloads every watched
  // file that changed; the number of changed files taken.
  int check();

 private:
  HotReload();
  HotReload(const HotReload&) = delete;
  void operator=(const HotReload&) = delete;
  void watchLoadedFiles();

  std::unique_ptr<platform::FileWatcher> watcher;  // null while off
  std::string config_file;
  int loaded_count;  // resources loaded when their files were last watched
};

}  // namespace tw
