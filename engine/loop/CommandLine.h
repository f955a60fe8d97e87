// The command line every game shares: the engine's options (where to show
// the game, recording and replaying, log detail, help) become settings, the
// game's own options and words are handed back, and anything else is refused
// with the usage and the documented exit status.
#pragma once

#include "engine/platform/Export.h"

#include <string>
#include <vector>

namespace tw {

class TW_API CommandLine {
 public:
  // parse's answer when the game should go on; otherwise it is the status to
  // end with at once.
  static constexpr int GO_ON = -1;
  static constexpr int EXIT_OK = 0;           // after --help
  static constexpr int EXIT_NO_START = 1;     // a replay file that cannot be read
  static constexpr int EXIT_BAD_OPTIONS = 2;  // an option nobody takes

  // program names the game in messages ("veld: unknown option '--x'").
  explicit CommandLine(std::string program);

  // An option of the game's own ("--host"), with the line --help shows for it
  // ("  --host [PORT]   host a match"). The words after it that do not begin
  // with "--" are its values.
  void addOption(const std::string& name, const std::string& help_line);

  // Reads argv: --window, --terminal, --capture (the display; display:auto
  // when none is given and the configuration sets none), --record FILE,
  // --replay FILE, --verbose (log level 1; twice, 2 ...) and --help. The
  // game's options and every other word are kept, in order, for
  // getArguments. Messages go to standard error. GO_ON or an exit status.
  int parse(int argc, char** argv);

  // The game's options and their values and the plain words, in order.
  const std::vector<std::string>& getArguments() const;
  // Whether the game's option was given, and the values that followed it.
  bool has(const std::string& name) const;
  std::vector<std::string> valuesOf(const std::string& name) const;

  // Says why the game refuses its own arguments, shows the usage and
  // answers EXIT_BAD_OPTIONS, for `return command_line.refuse("...");`.
  int refuse(const std::string& why) const;
  std::string usage() const;

 private:
  int readFileOption(const std::string& option, const char* name);
  bool isGameOption(const std::string& name) const;

  std::string program;
  std::vector<std::string> option_names;
  std::string option_help;
  std::vector<std::string> arguments;
};

}  // namespace tw
