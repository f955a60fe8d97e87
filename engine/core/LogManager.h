// The log: one line per call, prefixed with the local time and the game step,
// written to the log file or, while none is open, to standard error.
#pragma once

#include <cstdarg>
#include <cstdio>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "engine/platform/Export.h"
#include "engine/core/Manager.h"

namespace tw {

class ProblemList;

// The local time as "hh:mm:ss" in a static 32-byte buffer, or "(time error)".
TW_API char* getTimeString();

class TW_API LogManager : public Manager {
 public:
  static LogManager& getInstance();
  ~LogManager() override;

  // Opens the file named by TARNWICK_LOG, or else the configured logfile,
  // emptying it. When another running game is writing that file, this one
  // writes "NAME-2.EXT" (or -3 ...) instead, named on standard error. A
  // symbolic link, a hard link or anything but a plain file (the null device
  // and a terminal aside) is refused, saying why on standard error.
  // A line that cannot be written is said once with writeNotice.
  int startUp() override;
  void shutDown() override;

  void setFlush(bool new_do_flush = true);
  void setLogLevel(int new_log_level);
  int getLogLevel() const;
  void setLogTimeString(bool on);
  void setLogStepCount(bool on);
  // The first error line written since start-up ("" when none): what a
  // failed start-up tells the user first.
  std::string getFirstError() const;
  // Text put before the message of every line written until it is set
  // again ("" for none): what a whole task's lines are about, such as the
  // file being read.
  void setLinePrefix(const std::string& prefix);
  std::string getLinePrefix() const;
  // The file the log goes to (as named when it was opened, or the numbered
  // name taken when another game had that one).
  std::string getLogFileName() const;

  // Writes the line when level <= log level. Returns the length of the message
  // body, 0 when the level suppressed it, -1 when a write failed.
  // Lines holding "Error!" or "Warning!" reach the file at once, whatever the
  // flush setting, so that `tail -f` shows them while the game runs.
  int writeLog(int level, const char* fmt, ...) const __attribute__((format(printf, 3, 4)));
  int writeLog(const char* fmt, ...) const __attribute__((format(printf, 2, 3)));
  // Says the text on standard error, naming the log, the first time this
  // text is said (it is not written to the log, which has lines of its own
  // about the problem): what the game's developer should see while the game
  // runs, such as a sprite label that is not loaded. After 100 distinct
  // notices one more says that further problems are in the log only.
  // Every notice, repeats counted, also goes on the problem list. True for
  // the first occurrence of the text since start-up (the caller may then log
  // its own line once).
  bool writeNotice(const char* fmt, ...) const __attribute__((format(printf, 2, 3)));
  // While the terminal itself shows the game, notices wait; they are said
  // when it is given back (hold false).
  void holdNotices(bool hold);
  // Every notice since start-up, each once with how often it came (what the
  // debug overlay lists). The engine's own type: its header is not installed.
  const ProblemList& getProblems() const;
  // Writes what other libraries printed since the last call (their error
  // streams, standard error while captured) as "Library message (ORIGIN):
  // TEXT" lines. The loop calls it every step; any log line does first.
  void writeLibraryMessages() const;

 private:
  LogManager();
  LogManager(const LogManager&) = delete;
  void operator=(const LogManager&) = delete;
  int writeLine(int level, const char* fmt, va_list args) const;
  FILE* openLogFile(const std::string& wanted, std::string& why);
  void noteWriteFailure() const;
  void say(const std::string& text) const;  // now, or once the terminal is back
  void sayOnStandardError(const std::string& text) const;

  bool do_flush;
  int log_level;
  bool log_time_string;
  bool log_step_count;
  FILE* p_f;
  std::string log_file_name;
  mutable bool write_failed;  // a line failed to reach the file (said once)
  mutable std::string first_error;
  mutable std::set<std::string> noticed;          // notices said so far
  bool notices_held;
  mutable std::vector<std::string> held_notices;  // waiting for the terminal
  std::unique_ptr<ProblemList> problems;  // filled by the const writeNotice
  std::string line_prefix;
  mutable bool writing_library_messages;
};

}  // namespace tw
