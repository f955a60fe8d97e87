#include "engine/platform/StandardErrorCapture.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <string>
#include <system_error>

#include "engine/platform/LibraryMessages.h"

namespace tw {
namespace platform {

namespace {
const char* const ORIGIN = "standard error";

// A line with nobody collecting goes where it was meant to go.
void pass(const std::string& line, int real_fd) {
  if (postLibraryMessage(ORIGIN, line) || real_fd < 0) return;
  const std::string out = line + "\n";
  if (::write(real_fd, out.data(), out.size()) < 0) return;
}
}  // namespace

StandardErrorCapture::~StandardErrorCapture() { stop(); }

bool StandardErrorCapture::isActive() const { return saved_fd >= 0; }

int StandardErrorCapture::start() {
  if (isActive()) return 0;
  int ends[2];
  if (pipe(ends) != 0) return -1;
  std::fflush(stderr);
  saved_fd = dup(STDERR_FILENO);
  if (saved_fd < 0 || dup2(ends[1], STDERR_FILENO) < 0) {
    if (saved_fd >= 0) close(saved_fd);
    saved_fd = -1;
    close(ends[0]);
    close(ends[1]);
    return -1;
  }
  write_fd = ends[1];
  try {
    reader = std::thread(&StandardErrorCapture::readLines, this, ends[0]);
  } catch (const std::system_error&) {
    close(ends[0]);
    stop();
    return -1;
  }
  return 0;
}

void StandardErrorCapture::stop() {
  if (!isActive()) return;
  std::fflush(stderr);
  // Descriptor 2 and write_fd are the pipe's only writers: with both gone
  // the reader meets the end of the pipe and ends.
  dup2(saved_fd, STDERR_FILENO);
  close(write_fd);
  write_fd = -1;
  if (reader.joinable()) reader.join();
  close(saved_fd);
  saved_fd = -1;
}

void StandardErrorCapture::readLines(int fd) {
  std::string line;
  char buffer[512];
  for (;;) {
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    for (ssize_t i = 0; i < n; i++) {
      if (buffer[i] != '\n') {
        line.push_back(buffer[i]);
        continue;
      }
      pass(line, saved_fd);
      line.clear();
    }
  }
  if (!line.empty()) pass(line, saved_fd);
  close(fd);
}

}  // namespace platform
}  // namespace tw
