#include "engine/loop/CommandLine.h"

#include "engine/core/Config.h"
#include "engine/core/LogManager.h"
#include "engine/input/InputRecording.h"
#include "engine/platform/Files.h"

#include <algorithm>
#include <cstdio>

namespace tw {

namespace {

const char* const ENGINE_USAGE =
    "  --window        show the game in a desktop window\n"
    "  --terminal      show the game in this terminal\n"
    "  --capture       run without showing anything (frames are only kept)\n"
    "                  (none of the three: a window where there is a display, else\n"
    "                  this terminal, else nothing shown)\n"
    "  --record FILE   record this run's input into FILE\n"
    "  --replay FILE   play FILE's recorded run again instead of reading input\n"
    "  --verbose       write more detail to the log (repeat for more)\n"
    "  --help          show this and end\n";

bool isDisplayOption(const std::string& arg) {
  return arg == "--window" || arg == "--terminal" || arg == "--capture";
}

}  // namespace

CommandLine::CommandLine(std::string new_program) : program(std::move(new_program)) {}

void CommandLine::addOption(const std::string& name, const std::string& help_line) {
  option_names.push_back(name);
  option_help += help_line + "\n";
}

int CommandLine::parse(int argc, char** argv) {
  Config& config = Config::getInstance();
  bool display_given = false;
  int verbosity = 0;
  arguments.clear();
  for (int i = 1; i < argc; i++) {
    const std::string arg = argv[i];
    if (isDisplayOption(arg)) {
      config.addOverride("display:" + arg.substr(2));
      display_given = true;
    } else if (arg == "--record" || arg == "--replay") {
      const int status = readFileOption(arg, i + 1 < argc ? argv[++i] : nullptr);
      if (status != GO_ON) return status;
    } else if (arg == "--verbose") {
      verbosity++;
    } else if (arg == "--help") {
      std::fputs(usage().c_str(), stderr);
      return EXIT_OK;
    } else if (arg.compare(0, 2, "--") == 0 && !isGameOption(arg)) {
      return refuse("unknown option '" + arg + "'");
    } else {
      arguments.push_back(arg);
    }
  }
  if (!display_given) config.addDefault("display:auto");
  if (verbosity > 0) LogManager::getInstance().setLogLevel(verbosity);
  return GO_ON;
}

// A recording's name becomes a configuration item, which cannot hold a
// comma, a colon or a blank; a replay that cannot be read is said here,
// where the player sees it, before anything starts.
int CommandLine::readFileOption(const std::string& option, const char* name) {
  if (name == nullptr) return refuse("a file name must follow '" + option + "'");
  const std::string file = name;
  if (file.find_first_of(",: \t\r\n") != std::string::npos) {
    return refuse("a file name with a comma, colon or blank cannot be used: '" + file + "'");
  }
  if (option == "--replay") {
    InputRecording recording;
    std::string why;
    if (InputRecording::load(file, recording, why) != 0) {
      std::fprintf(stderr, "%s: replay file '%s' refused: %s\n", program.c_str(), name,
                   why.c_str());
      return EXIT_NO_START;
    }
  }
  const std::string key = option == "--record" ? "record_file:" : "replay_file:";
  Config::getInstance().addOverride(key + platform::absolutePath(file));
  return GO_ON;
}

bool CommandLine::isGameOption(const std::string& name) const {
  return std::find(option_names.begin(), option_names.end(), name) != option_names.end();
}

const std::vector<std::string>& CommandLine::getArguments() const { return arguments; }

bool CommandLine::has(const std::string& name) const {
  return std::find(arguments.begin(), arguments.end(), name) != arguments.end();
}

std::vector<std::string> CommandLine::valuesOf(const std::string& name) const {
  std::vector<std::string> values;
  auto it = std::find(arguments.begin(), arguments.end(), name);
  if (it == arguments.end()) return values;
  for (++it; it != arguments.end() && it->compare(0, 2, "--") != 0; ++it) values.push_back(*it);
  return values;
}

int CommandLine::refuse(const std::string& why) const {
  std::fprintf(stderr, "%s: %s\n%s", program.c_str(), why.c_str(), usage().c_str());
  return EXIT_BAD_OPTIONS;
}

std::string CommandLine::usage() const {
  return "usage: " + program + " [options]\n" + ENGINE_USAGE + option_help;
}

}  // namespace tw
