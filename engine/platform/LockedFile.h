// A file written by one running program at a time: opened for writing under
// an exclusive advisory lock that lasts until it is closed, so that a second
// program finds it busy instead of writing into it. Used for the log, a
// recording being made and the temporary file of a whole-file replacement.
#pragma once

#include <cstdio>
#include <string>

namespace tw {
namespace platform {

class LockedFile {
 public:
  enum class Status {
    OK,
    BUSY,    // another open file holds the lock (another running program)
    FAILED,  // cannot be created, opened or written; why says so
  };

  LockedFile() = default;
  ~LockedFile();  // closes, which releases the lock
  LockedFile(const LockedFile&) = delete;
  LockedFile& operator=(const LockedFile&) = delete;

  // Opens path for writing, creating it when missing, takes the lock without
  // waiting and only then empties the file, so a busy file keeps its bytes.
  // A name that is not a regular file (/dev/null, a terminal) is opened as
  // it is, without lock or emptying. A file of the program's own making (a
  // temporary file) is opened with own_file true: then only a plain file
  // with no other name will do, so that a link, a pipe or a device planted
  // in its place is refused rather than written through.
  Status open(const std::string& path, std::string& why, bool own_file = false);
  // Writes every byte at the end of what was written. 0, or -1 with why.
  int append(const std::string& bytes, std::string& why);
  // Flushes what was written to the disk. 0 (also for what cannot be
  // flushed: a device, a pipe), or -1 with why.
  int sync(std::string& why);
  void close();
  bool isOpen() const { return fd >= 0; }
  // Gives the open file up as a C stream for writing: the caller owns it,
  // and the lock lasts until it is closed with fclose. Null when none is
  // open or the stream cannot be made (the file is closed then).
  std::FILE* releaseAsStream();

 private:
  bool isOwnFile(const std::string& path, std::string& why);
  Status lockAndCheck(const std::string& path, std::string& why, bool& replaced);

  int fd = -1;
};

}  // namespace platform
}  // namespace tw
