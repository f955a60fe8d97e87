// The POSIX side of running in a terminal: its saved modes, the signal
// handlers that give them back on every way out, its size and its input bytes.
// Drawing (curses) is left to the terminal presenter.
#pragma once

#include <string>

namespace tw {
namespace platform {

// Only one Terminal may be open at a time: the signal handlers it installs
// belong to the whole process.
class Terminal {
 public:
  Terminal(int input_fd, int output_fd);
  ~Terminal();  // restores, as close() does
  Terminal(const Terminal&) = delete;
  Terminal& operator=(const Terminal&) = delete;

  static bool isTerminal(int fd);

  // Saves the input's modes and installs the handlers: SIGINT, SIGTERM and
  // SIGHUP become a close request (a second one restores the terminal and
  // ends the process at once), SIGWINCH a resize flag, and a fatal signal
  // (SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT) restores the terminal before
  // the default action runs. 0, or -1 when the modes cannot be read.
  int open();
  // The bytes that switch the terminal back to normal after whatever the
  // program turned on (mouse reporting, keyboard protocol, hidden cursor,
  // colours, alternate screen). A fatal signal writes them; restore() does
  // not (the presenter ends its own modes in order on a normal close).
  void setRestoreBytes(const std::string& bytes);
  // Sets the saved modes back and removes the handlers; safe to call again.
  void restore();

  // Whether a close request (or a resize) came since the last call.
  bool takeCloseRequest();
  bool takeResize();
  // The size in cells; false when the terminal does not say.
  bool getSize(int& columns, int& rows) const;
  // Waits up to milliseconds for input; true when there is some.
  bool waitForInput(int milliseconds) const;
  // Reads what is available without waiting: the count read, 0 for none.
  int readAvailable(char* buffer, int size) const;
  // Writes all bytes (retrying short writes); 0, or -1 on an error.
  int write(const std::string& bytes) const;

  // A monotonic clock in milliseconds.
  static long long nowMilliseconds();

 private:
  int input_fd;
  int output_fd;
  bool is_open = false;
  int reported_requests = 0;  // close requests already taken
};

}  // namespace platform
}  // namespace tw
