#include "engine/platform/LockedFile.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace tw {
namespace platform {

namespace {

// Another program may rename or remove the file between our open and our
// lock (a whole-file replacement does); the open is then tried again.
const int OPEN_ATTEMPTS = 5;

std::string failure(const char* what, const std::string& path) {
  return std::string(what) + " '" + path + "': " + std::strerror(errno);
}

bool sameFile(const struct stat& a, const struct stat& b) {
  return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

}  // namespace

LockedFile::~LockedFile() { close(); }

LockedFile::Status LockedFile::open(const std::string& path, std::string& why, bool own_file) {
  close();
  const int links = own_file ? O_NOFOLLOW : 0;
  for (int attempt = 0; attempt < OPEN_ATTEMPTS; attempt++) {
    // Without O_NONBLOCK a pipe nobody reads would block the program here.
    fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC | O_NONBLOCK | links, 0644);
    if (fd < 0) {
      if (own_file && (errno == ELOOP || errno == ENXIO)) {
        // O_NOFOLLOW met a link; a pipe nobody reads cannot be opened at all.
        why = "'" + path + (errno == ELOOP ? "' is a symbolic link" : "' is not a plain file");
      } else {
        why = failure("cannot open", path);
      }
      return Status::FAILED;
    }
    if (own_file && !isOwnFile(path, why)) {
      close();
      return Status::FAILED;
    }
    fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    bool replaced = false;
    const Status status = lockAndCheck(path, why, replaced);
    if (!replaced) return status;
  }
  why = "'" + path + "' keeps being replaced by another program";
  return Status::BUSY;
}

// Whether the descriptor just opened is a plain file with no other name.
bool LockedFile::isOwnFile(const std::string& path, std::string& why) {
  struct stat opened {};
  if (fstat(fd, &opened) != 0) {
    why = failure("cannot examine", path);
    return false;
  }
  if (S_ISREG(opened.st_mode) && opened.st_nlink <= 1) return true;
  why = "'" + path + (S_ISREG(opened.st_mode) ? "' has another name (a hard link)"
                                               : "' is not a plain file");
  return false;
}

// Takes the lock on the descriptor just opened; on success the file is the
// one path names and has been emptied. replaced asks the caller to open again.
LockedFile::Status LockedFile::lockAndCheck(const std::string& path, std::string& why,
                                            bool& replaced) {
  struct stat opened {};
  if (fstat(fd, &opened) != 0) {
    why = failure("cannot examine", path);
    close();
    return Status::FAILED;
  }
  if (!S_ISREG(opened.st_mode)) return Status::OK;
  if (flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK) {
    why = "'" + path + "' is in use by another running program";
    close();
    return Status::BUSY;
  }
  // (A file system without locks is written unlocked.)
  struct stat named {};
  if (stat(path.c_str(), &named) != 0 || !sameFile(opened, named)) {
    replaced = true;
    close();
    return Status::BUSY;
  }
  if (ftruncate(fd, 0) != 0) {
    why = failure("cannot empty", path);
    close();
    return Status::FAILED;
  }
  return Status::OK;
}

int LockedFile::append(const std::string& bytes, std::string& why) {
  std::size_t done = 0;
  while (fd >= 0 && done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      why = std::string("cannot write: ") + (n < 0 ? std::strerror(errno) : "nothing written");
      return -1;
    }
    done += static_cast<std::size_t>(n);
  }
  if (fd < 0) {
    why = "not open";
    return -1;
  }
  return 0;
}

int LockedFile::sync(std::string& why) {
  if (fd >= 0 && fsync(fd) == 0) return 0;
  // A device or a pipe has no disk to reach.
  if (fd >= 0 && (errno == EINVAL || errno == EROFS)) return 0;
  why = fd < 0 ? "not open" : std::string("cannot flush: ") + std::strerror(errno);
  return -1;
}

void LockedFile::close() {
  if (fd >= 0) ::close(fd);
  fd = -1;
}

std::FILE* LockedFile::releaseAsStream() {
  if (fd < 0) return nullptr;
  std::FILE* p_stream = fdopen(fd, "w");
  if (p_stream == nullptr) close();
  fd = -1;
  return p_stream;
}

}  // namespace platform
}  // namespace tw
