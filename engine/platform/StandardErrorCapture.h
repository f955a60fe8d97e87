// Takes over the process's standard error (descriptor 2) for a while: what
// any library writes there becomes library messages (origin "standard
// error") for the log instead of text across the terminal's screen. The
// terminal presenter holds one while it owns the screen.
#pragma once

#include <thread>

namespace tw {
namespace platform {

class StandardErrorCapture {
 public:
  StandardErrorCapture() = default;
  ~StandardErrorCapture();
  StandardErrorCapture(const StandardErrorCapture&) = delete;
  StandardErrorCapture& operator=(const StandardErrorCapture&) = delete;

  // Points descriptor 2 into a pipe read by a thread of its own; 0, or -1
  // (nothing changed) when the pipe or the thread cannot be had.
  int start();
  // Gives descriptor 2 back and posts what was still in the pipe; safe to
  // call when not started.
  void stop();
  bool isActive() const;

 private:
  void readLines(int fd);

  int saved_fd = -1;   // the real standard error while captured
  int write_fd = -1;   // the pipe's end now behind descriptor 2
  std::thread reader;
};

}  // namespace platform
}  // namespace tw
