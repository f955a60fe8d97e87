#include "engine/platform/Terminal.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <ctime>

#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace tw {
namespace platform {

namespace {

const int CLOSE_SIGNALS[] = {SIGINT, SIGTERM, SIGHUP};
const int FATAL_SIGNALS[] = {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT};
const std::size_t CLOSE_COUNT = sizeof(CLOSE_SIGNALS) / sizeof(int);
const std::size_t FATAL_COUNT = sizeof(FATAL_SIGNALS) / sizeof(int);

// Shared with the signal handlers, which may only read them. They change
// only while the handlers are blocked or not installed.
volatile sig_atomic_t close_requests = 0;
volatile sig_atomic_t resized = 0;
struct termios saved_modes;
int modes_fd = -1;    // the input whose modes were saved; -1 when none
int restore_fd = -1;  // where the restore bytes go
char restore_bytes[512];
std::size_t restore_length = 0;

struct sigaction old_close[CLOSE_COUNT];
struct sigaction old_fatal[FATAL_COUNT];
struct sigaction old_winch;

// Async-signal-safe: write(2) and tcsetattr(3) only.
void restoreFromHandler() {
  std::size_t done = 0;
  while (restore_fd >= 0 && done < restore_length) {
    const ssize_t n = ::write(restore_fd, restore_bytes + done, restore_length - done);
    if (n <= 0 && errno != EINTR) break;
    if (n > 0) done += static_cast<std::size_t>(n);
  }
  if (modes_fd >= 0) tcsetattr(modes_fd, TCSANOW, &saved_modes);
}

// Ends the process with the signal's default action once the handler returns.
void dieWith(int sig) {
  signal(sig, SIG_DFL);
  raise(sig);
}

void onClose(int sig) {
  const int saved_errno = errno;
  close_requests = close_requests + 1;
  if (close_requests >= 2) {
    restoreFromHandler();
    dieWith(sig);
  }
  errno = saved_errno;
}

void onFatal(int sig) {
  restoreFromHandler();
  dieWith(sig);
}

void onResize(int) { resized = 1; }

void install(int sig, void (*handler)(int), int flags, struct sigaction* old) {
  struct sigaction action;
  std::memset(&action, 0, sizeof action);
  action.sa_handler = handler;
  sigemptyset(&action.sa_mask);
  for (int s : CLOSE_SIGNALS) sigaddset(&action.sa_mask, s);
  sigaddset(&action.sa_mask, SIGWINCH);
  action.sa_flags = flags;
  sigaction(sig, &action, old);
}

// Blocks every handled signal for the life of the object.
class BlockSignals {
 public:
  BlockSignals() {
    sigset_t set;
    sigemptyset(&set);
    for (int s : CLOSE_SIGNALS) sigaddset(&set, s);
    for (int s : FATAL_SIGNALS) sigaddset(&set, s);
    sigaddset(&set, SIGWINCH);
    sigprocmask(SIG_BLOCK, &set, &old);
  }
  ~BlockSignals() { sigprocmask(SIG_SETMASK, &old, nullptr); }

 private:
  sigset_t old;
};

}  // namespace

Terminal::Terminal(int input_fd, int output_fd) : input_fd(input_fd), output_fd(output_fd) {}

Terminal::~Terminal() { restore(); }

bool Terminal::isTerminal(int fd) { return isatty(fd) == 1; }

int Terminal::open() {
  if (is_open) return 0;
  struct termios modes;
  if (tcgetattr(input_fd, &modes) != 0) return -1;
  BlockSignals block;
  saved_modes = modes;
  modes_fd = input_fd;
  restore_fd = output_fd;
  restore_length = 0;
  close_requests = 0;
  resized = 0;
  reported_requests = 0;
  for (std::size_t i = 0; i < CLOSE_COUNT; i++) install(CLOSE_SIGNALS[i], onClose, 0, &old_close[i]);
  // SA_RESETHAND: a fault inside the handler itself ends the process.
  for (std::size_t i = 0; i < FATAL_COUNT; i++) {
    install(FATAL_SIGNALS[i], onFatal, SA_RESETHAND | SA_NODEFER, &old_fatal[i]);
  }
  install(SIGWINCH, onResize, SA_RESTART, &old_winch);
  is_open = true;
  return 0;
}

void Terminal::setRestoreBytes(const std::string& bytes) {
  BlockSignals block;
  restore_length = std::min(bytes.size(), sizeof restore_bytes);
  std::memcpy(restore_bytes, bytes.data(), restore_length);
}

void Terminal::restore() {
  if (!is_open) return;
  BlockSignals block;
  tcsetattr(modes_fd, TCSANOW, &saved_modes);
  for (std::size_t i = 0; i < CLOSE_COUNT; i++) sigaction(CLOSE_SIGNALS[i], &old_close[i], nullptr);
  for (std::size_t i = 0; i < FATAL_COUNT; i++) sigaction(FATAL_SIGNALS[i], &old_fatal[i], nullptr);
  sigaction(SIGWINCH, &old_winch, nullptr);
  modes_fd = -1;
  restore_fd = -1;
  restore_length = 0;
  is_open = false;
}

bool Terminal::takeCloseRequest() {
  // The count stays: a second signal while the program winds down still ends it.
  if (!is_open || close_requests == reported_requests) return false;
  reported_requests = close_requests;
  return true;
}

bool Terminal::takeResize() {
  if (resized == 0) return false;
  resized = 0;
  return true;
}

bool Terminal::getSize(int& columns, int& rows) const {
  struct winsize size;
  if (ioctl(output_fd, TIOCGWINSZ, &size) != 0 || size.ws_col == 0 || size.ws_row == 0) {
    return false;
  }
  columns = size.ws_col;
  rows = size.ws_row;
  return true;
}

bool Terminal::waitForInput(int milliseconds) const {
  struct pollfd p;
  p.fd = input_fd;
  p.events = POLLIN;
  p.revents = 0;
  return poll(&p, 1, milliseconds) > 0 && (p.revents & POLLIN) != 0;
}

int Terminal::readAvailable(char* buffer, int size) const {
  if (size <= 0 || !waitForInput(0)) return 0;
  ssize_t n;
  do {
    n = ::read(input_fd, buffer, static_cast<std::size_t>(size));
  } while (n < 0 && errno == EINTR);
  return n > 0 ? static_cast<int>(n) : 0;
}

int Terminal::write(const std::string& bytes) const {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(output_fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return -1;
    done += static_cast<std::size_t>(n);
  }
  return 0;
}

long long Terminal::nowMilliseconds() {
  struct timespec now;
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<long long>(now.tv_sec) * 1000LL + now.tv_nsec / 1000000L;
}

}  // namespace platform
}  // namespace tw
