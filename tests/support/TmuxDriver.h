// Drives a program in a real terminal for the terminal tests: a detached tmux
// session on a server of its own, keys typed with send-keys, and the screen
// read back with capture-pane as text and as colour letters.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace tw_test {

class TmuxDriver {
 public:
  TmuxDriver();
  ~TmuxDriver();  // ends the server and whatever runs in it
  TmuxDriver(const TmuxDriver&) = delete;
  TmuxDriver& operator=(const TmuxDriver&) = delete;

  // Starts a columns x rows session (TERM=tmux-256color) running the shell
  // command; false when tmux cannot.
  bool start(int columns, int rows, const std::string& command);
  // Arguments to tmux send-keys (key names, or -H and hexadecimal bytes).
  void sendKeys(const std::string& keys) const;
  void resize(int columns, int rows) const;
  // tmux display -p of the format ("#{cursor_flag}" ...).
  std::string display(const std::string& format) const;
  // The screen's rows as text, trailing blanks removed.
  std::vector<std::string> rows() const;
  // The screen's rows as colour letters, as CellGrid::getColorRow gives them:
  // k r g y b m c w for the eight basic colours, '*' for any other, a blank
  // for a blank cell.
  std::vector<std::string> colorRows() const;
  // The cells' backgrounds as letters the same way (every cell, '.' for the
  // terminal's default), trailing ones removed.
  std::vector<std::string> backgroundRows() const;

 private:
  std::string tmux(const std::string& arguments) const;
  std::vector<std::string> letterRows(bool backgrounds) const;

  std::string socket;
  std::string config;
};

}  // namespace tw_test
