// Tells which of a set of watched files changed since the last look. The
// system's file notification watches each file's folder, so a file replaced
// by renaming another over it is caught too; where notification is missing or
// refused, modification times are compared at most once a second.
#pragma once

#include <chrono>
#include <string>
#include <vector>

#include "engine/platform/Export.h"

namespace tw {
namespace platform {

class TW_API FileWatcher {
 public:
  // With use_notification false every file is polled (the fallback).
  explicit FileWatcher(bool use_notification = true);
  ~FileWatcher();
  FileWatcher(const FileWatcher&) = delete;
  FileWatcher& operator=(const FileWatcher&) = delete;

  // Starts watching path (a second call for the same path does nothing). The
  // file need not exist yet: it counts as changed once it appears.
  void watch(const std::string& path);
  bool isWatched(const std::string& path) const;
  // True when path is watched through notification, false when polled.
  bool isNotified(const std::string& path) const;
  int getWatchCount() const;

  // The watched paths (as given to watch) whose content changed since the
  // last call, each once, in the order first noticed. A file that is deleted
  // is reported when it is back. Never blocks.
  std::vector<std::string> takeChanges();

  // Reports path as changed from outside (a browser page told by its
  // development server); the next takeChanges of a watcher watching it sees it.
  static void reportChanged(const std::string& path);

 private:
  // What identifies one version of a file: a rename over it changes the
  // inode, an edit in place the time or the size.
  struct Stamp {
    bool exists = false;
    unsigned long long inode = 0;
    long long size = 0;
    long long mtime_ns = 0;
    bool operator!=(const Stamp& other) const;
  };
  struct Entry {
    std::string path;    // as given
    std::string folder;  // watched for notification
    std::string base;    // the file's name inside folder
    int handle;          // notification watch, -1 when polled
    Stamp stamp;         // last version seen (polled entries)
  };

  static Stamp stampOf(const std::string& path);
  void readNotifications(std::vector<std::string>& changed);
  void pollStamps(std::vector<std::string>& changed);
  void takeReported(std::vector<std::string>& changed);
  static void addOnce(std::vector<std::string>& list, const std::string& path);
  int addFolderWatch(const std::string& folder);

  int notify_fd;  // -1 without notification
  std::vector<Entry> entries;
  std::chrono::steady_clock::time_point last_poll;
};

}  // namespace platform
}  // namespace tw
