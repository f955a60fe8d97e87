// Runs one of the build's programs (Veld, examples, tools) as a separate
// process in the capture presenter, for a scripted number of frames with
// scripted keys, and reads back its exit status, what it printed and the
// last frame it drew. Its data folder (XDG_DATA_HOME) is the run's own.
#pragma once

#include <string>
#include <vector>

#include "engine/input/InputRecording.h"
#include "engine/input/Keyboard.h"
#include "tests/support/TestSupport.h"

namespace tw_test {

class ProgramRun {
 public:
  // program: a file in the working folder (the build's bin folder).
  explicit ProgramRun(std::string program);

  // The run lasts this many frames (a replay of them, played without waiting)
  // instead of until the program ends by itself.
  void setFrames(int count);
  // Keystrokes (a press and its keystroke) delivered at the start of frame
  // (0 based).
  void press(int frame, tw::Keyboard::Key key, int times = 1);
  // A configuration item added to the run's tw-config.txt ("key:value"),
  // winning over the run's own (display, snapshot_file, logfile).
  void configure(const std::string& item);

  // Runs the program with args (already quoted for the shell); true when it
  // exited with status 0.
  bool run(const std::string& args = "");
  // The last run's exit status (137 when it was killed after two minutes).
  int status() const { return exit_status; }
  // The shell command run() uses, for starting the program some other way.
  std::string command(const std::string& args) const;

  std::string output() const;     // standard output and error
  std::string lastFrame() const;  // the last frame's rows of text, one per line
  const TempDir& folder() const { return dir; }

 private:
  std::string program;
  TempDir dir;
  std::vector<std::string> items;
  tw::InputRecording script;
  bool scripted = false;
  int exit_status = -1;
};

}  // namespace tw_test
