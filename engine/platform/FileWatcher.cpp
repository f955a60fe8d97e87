#include "engine/platform/FileWatcher.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>

#ifdef __EMSCRIPTEN__
#include "engine/platform/WebPage.h"
#endif

#if defined(__linux__) && !defined(__EMSCRIPTEN__)
#include <sys/inotify.h>
#define TW_HAVE_INOTIFY 1
#endif

namespace tw {
namespace platform {

namespace {
// The fallback compares modification times no more often than this.
const std::chrono::milliseconds POLL_INTERVAL(1000);

// Changes reported from outside, waiting for a watcher to take them.
std::vector<std::string>& reported() {
  static std::vector<std::string> list;
  return list;
}

void splitPath(const std::string& path, std::string& folder, std::string& base) {
  const std::size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) {
    folder = ".";
    base = path;
    return;
  }
  folder = slash == 0 ? "/" : path.substr(0, slash);
  base = path.substr(slash + 1);
}
}  // namespace

bool FileWatcher::Stamp::operator!=(const Stamp& other) const {
  return exists != other.exists || inode != other.inode || size != other.size ||
         mtime_ns != other.mtime_ns;
}

FileWatcher::FileWatcher(bool use_notification)
    : notify_fd(-1), last_poll(std::chrono::steady_clock::now()) {
#ifdef TW_HAVE_INOTIFY
  if (use_notification) notify_fd = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
#else
  (void)use_notification;
#endif
}

FileWatcher::~FileWatcher() {
  if (notify_fd >= 0) close(notify_fd);
}

FileWatcher::Stamp FileWatcher::stampOf(const std::string& path) {
  Stamp stamp;
  struct stat info {};
  if (stat(path.c_str(), &info) != 0) return stamp;
  stamp.exists = true;
  stamp.inode = static_cast<unsigned long long>(info.st_ino);
  stamp.size = static_cast<long long>(info.st_size);
  stamp.mtime_ns = static_cast<long long>(info.st_mtim.tv_sec) * 1000000000LL + info.st_mtim.tv_nsec;
  return stamp;
}

// The watch of a folder; one per folder however many files in it are watched.
int FileWatcher::addFolderWatch(const std::string& folder) {
#ifdef TW_HAVE_INOTIFY
  if (notify_fd < 0) return -1;
  // A finished write and a file renamed into the folder are the two ways a
  // saved file arrives; a file still being written is not looked at.
  return inotify_add_watch(notify_fd, folder.c_str(), IN_CLOSE_WRITE | IN_MOVED_TO);
#else
  (void)folder;
  return -1;
#endif
}

void FileWatcher::watch(const std::string& path) {
  if (isWatched(path)) return;
  Entry entry;
  entry.path = path;
  splitPath(path, entry.folder, entry.base);
  entry.handle = addFolderWatch(entry.folder);
  entry.stamp = stampOf(path);
  entries.push_back(entry);
}

bool FileWatcher::isWatched(const std::string& path) const {
  return std::any_of(entries.begin(), entries.end(),
                     [&path](const Entry& entry) { return entry.path == path; });
}

bool FileWatcher::isNotified(const std::string& path) const {
  return std::any_of(entries.begin(), entries.end(), [&path](const Entry& entry) {
    return entry.path == path && entry.handle >= 0;
  });
}

int FileWatcher::getWatchCount() const { return static_cast<int>(entries.size()); }

void FileWatcher::addOnce(std::vector<std::string>& list, const std::string& path) {
  if (std::find(list.begin(), list.end(), path) == list.end()) list.push_back(path);
}

void FileWatcher::readNotifications(std::vector<std::string>& changed) {
#ifdef TW_HAVE_INOTIFY
  if (notify_fd < 0) return;
  alignas(struct inotify_event) char buffer[8192];
  ssize_t got;
  while ((got = read(notify_fd, buffer, sizeof buffer)) > 0) {
    for (char* at = buffer; at < buffer + got;) {
      const auto* event = reinterpret_cast<const struct inotify_event*>(at);
      at += sizeof(struct inotify_event) + event->len;
      const bool overflow = (event->mask & IN_Q_OVERFLOW) != 0;
      for (const Entry& entry : entries) {
        // After an overflow nobody knows what changed: every file is looked at again.
        const bool named = event->len > 0 && entry.base == event->name;
        if (overflow || (entry.handle == event->wd && named)) addOnce(changed, entry.path);
      }
    }
  }
#else
  (void)changed;
#endif
}

void FileWatcher::pollStamps(std::vector<std::string>& changed) {
  const auto now = std::chrono::steady_clock::now();
  if (now - last_poll < POLL_INTERVAL) return;
  last_poll = now;
  for (Entry& entry : entries) {
    if (entry.handle >= 0) continue;
    const Stamp stamp = stampOf(entry.path);
    if (!(stamp != entry.stamp)) continue;
    entry.stamp = stamp;
    if (stamp.exists) addOnce(changed, entry.path);  // a deleted file is reported when back
  }
}

void FileWatcher::takeReported(std::vector<std::string>& changed) {
  std::vector<std::string>& list = reported();
#ifdef __EMSCRIPTEN__
  std::string pushed;
  while (page::takeChangedFile(pushed)) addOnce(list, pushed);
#endif
  for (auto it = list.begin(); it != list.end();) {
    if (isWatched(*it)) {
      addOnce(changed, *it);
      for (Entry& entry : entries) {
        if (entry.path == *it) entry.stamp = stampOf(entry.path);  // not found again by polling
      }
      it = list.erase(it);
    } else {
      ++it;
    }
  }
}

std::vector<std::string> FileWatcher::takeChanges() {
  std::vector<std::string> changed;
  readNotifications(changed);
  pollStamps(changed);
  takeReported(changed);
  return changed;
}

void FileWatcher::reportChanged(const std::string& path) { addOnce(reported(), path); }

}  // namespace platform
}  // namespace tw
