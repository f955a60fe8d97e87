#include "engine/platform/Files.h"

#include "engine/platform/HostStorage.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace tw {
namespace platform {

namespace {

std::string errorText() { return std::strerror(errno); }

std::string parentOf(const std::string& path) {
  const std::size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

// Reads at most limit + 1 bytes, so an over-long file is noticed even when
// its size was not known beforehand.
bool readUpTo(int fd, std::size_t limit, std::string& bytes) {
  char buffer[4096];
  while (bytes.size() <= limit) {
    const ssize_t n = read(fd, buffer, sizeof buffer);
    if (n == 0) return true;
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes.append(buffer, static_cast<std::size_t>(n));
  }
  return true;
}

bool writeAll(int fd, const std::string& bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    done += static_cast<std::size_t>(n);
  }
  return true;
}

// Makes the rename itself last across a power loss (best effort).
void syncFolder(const std::string& folder) {
  const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  fsync(fd);
  close(fd);
}

}  // namespace

ReadStatus readWholeFile(const std::string& path, std::size_t max_bytes, std::string& bytes) {
  bytes.clear();
  restoreHostStorage();
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return errno == ENOENT ? ReadStatus::MISSING : ReadStatus::UNREADABLE;
  struct stat info {};
  ReadStatus status = ReadStatus::OK;
  if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    status = ReadStatus::UNREADABLE;
  } else if (static_cast<unsigned long long>(info.st_size) > max_bytes) {
    status = ReadStatus::TOO_LARGE;
  } else if (!readUpTo(fd, max_bytes, bytes)) {
    status = ReadStatus::UNREADABLE;
  } else if (bytes.size() > max_bytes) {
    status = ReadStatus::TOO_LARGE;
  }
  close(fd);
  if (status != ReadStatus::OK) bytes.clear();
  return status;
}

int replaceFile(const std::string& path, const std::string& bytes, std::string& why) {
  restoreHostStorage();  // first, so that it cannot bring an older copy back over this one
  const std::string temporary = path + ".tmp" + std::to_string(getpid());
  const int fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) {
    why = "cannot create '" + temporary + "': " + errorText();
    return -1;
  }
  bool ok = writeAll(fd, bytes) && fsync(fd) == 0;
  if (!ok) why = "cannot write '" + temporary + "': " + errorText();
  if (close(fd) != 0 && ok) {
    ok = false;
    why = "cannot write '" + temporary + "': " + errorText();
  }
  if (ok && std::rename(temporary.c_str(), path.c_str()) != 0) {
    ok = false;
    why = "cannot rename '" + temporary + "' to '" + path + "': " + errorText();
  }
  if (!ok) {
    unlink(temporary.c_str());
    return -1;
  }
  syncFolder(parentOf(path));
  return keepInHostStorage(path, bytes, why);
}

int makeFolders(const std::string& path, std::string& why) {
  if (path.empty()) {
    why = "no folder given";
    return -1;
  }
  struct stat info {};
  if (stat(path.c_str(), &info) == 0) {
    if (S_ISDIR(info.st_mode)) return 0;
    why = "'" + path + "' is not a folder";
    return -1;
  }
  const std::string parent = parentOf(path);
  if (parent != path && makeFolders(parent, why) != 0) return -1;
  if (mkdir(path.c_str(), 0700) != 0 && errno != EEXIST) {
    why = "cannot create '" + path + "': " + errorText();
    return -1;
  }
  return 0;
}

std::string userDataFolder() {
  const char* xdg = std::getenv("XDG_DATA_HOME");
  if (xdg != nullptr && xdg[0] == '/') return xdg;
  const char* home = std::getenv("HOME");
  if (home != nullptr && home[0] == '/') return std::string(home) + "/.local/share";
  return "";
}

std::string programFolder() {
  char buffer[PATH_MAX];
  const ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
  if (n <= 0) return "";
  return parentOf(std::string(buffer, static_cast<std::size_t>(n)));
}

std::string absolutePath(const std::string& path) {
  if (path.empty() || path[0] == '/') return path;
  char buffer[PATH_MAX];
  if (getcwd(buffer, sizeof buffer) == nullptr) return path;
  return std::string(buffer) + "/" + path;
}

int changeFolder(const std::string& folder) { return chdir(folder.c_str()) == 0 ? 0 : -1; }

}  // namespace platform
}  // namespace tw
