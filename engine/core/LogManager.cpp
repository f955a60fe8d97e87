#include "engine/core/LogManager.h"

#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

#include "engine/core/Config.h"
#include "engine/core/LoopState.h"
#include "engine/core/ProblemList.h"
#include "engine/core/RepeatedLog.h"
#include "engine/platform/FileCheck.h"
#include "engine/platform/LibraryMessages.h"
#include "engine/platform/LockedFile.h"

namespace tw {

namespace {
// Games sharing one log name at once; more find no log of their own.
const int MAX_LOG_FILES = 99;

// "tarnwick.log" as the n-th log: "tarnwick-2.log" (the number before the
// extension of the file's own name, or at its end when it has none).
std::string numberedName(const std::string& name, int n) {
  const std::size_t slash = name.find_last_of('/');
  const std::size_t dot = name.find_last_of('.');
  const bool has_extension =
      dot != std::string::npos && dot > 0 && (slash == std::string::npos || dot > slash + 1);
  const std::size_t at = has_extension ? dot : name.size();
  return name.substr(0, at) + "-" + std::to_string(n) + name.substr(at);
}
}  // namespace

char* getTimeString() {
  static char time_str[32];
  time_t now = time(nullptr);
  struct tm local {};
  if (now == static_cast<time_t>(-1) || localtime_r(&now, &local) == nullptr) {
    snprintf(time_str, sizeof(time_str), "(time error)");
  } else {
    snprintf(time_str, sizeof(time_str), "%02d:%02d:%02d", local.tm_hour, local.tm_min,
             local.tm_sec);
  }
  return time_str;
}

LogManager::LogManager()
    : do_flush(false),
      log_level(0),
      log_time_string(true),
      log_step_count(true),
      p_f(nullptr),
      write_failed(false),
      notices_held(false),
      problems(new ProblemList),
      writing_library_messages(false) {
  setType("LogManager");
}

LogManager::~LogManager() {
  if (p_f != nullptr) fclose(p_f);
}

LogManager& LogManager::getInstance() {
  static LogManager instance;
  return instance;
}

int LogManager::startUp() {
  if (isStarted()) {
    writeLog("%s::startup(): Warning! %s already started.", getType().c_str(), getType().c_str());
    return -1;
  }
  const char* env_name = std::getenv("TARNWICK_LOG");
  std::string file_name = env_name != nullptr ? env_name : Config::getInstance().getLogFile();
  log_file_name = file_name;
  first_error.clear();
  std::string why;
  p_f = openLogFile(file_name, why);
  if (p_f == nullptr) {
    writeLog("LogManager::startup(): Warning! Unable to open file '%s'.", file_name.c_str());
    if (!why.empty()) writeLog("\t%s", why.c_str());
    return -1;
  }
  write_failed = false;
  Manager::startUp();
  problems->clear();
  platform::collectLibraryMessages(true);
  writeLog(5, "LogManager::startUp(): successfully started.");
  return 0;
}

// A log another running game is writing stays that game's: this one takes
// the first free numbered name beside it and says so on standard error.
// Opening empties the file, so the log is only written under a name of its
// own: a symbolic link, a second name of another file, a pipe or a folder in
// its place is refused (the game then stops: writing the log elsewhere would
// hide it from whoever named it). The null device and a terminal, named
// directly, are written as they are.
FILE* LogManager::openLogFile(const std::string& wanted, std::string& why) {
  for (int n = 1; n <= MAX_LOG_FILES; n++) {
    const std::string name = n == 1 ? wanted : numberedName(wanted, n);
    platform::LockedFile file;
    const platform::LockedFile::Status status =
        file.open(name, why, !platform::isDeviceNamedDirectly(name));
    if (status == platform::LockedFile::Status::BUSY) continue;
    if (status != platform::LockedFile::Status::OK) return nullptr;
    FILE* p_file = file.releaseAsStream();
    if (p_file == nullptr) return nullptr;
    if (n > 1) {
      std::fprintf(stderr, "Tarnwick: the log '%s' is in use by another running game; this one "
                   "writes '%s'.\n", wanted.c_str(), name.c_str());
    }
    log_file_name = name;
    return p_file;
  }
  return nullptr;
}

void LogManager::shutDown() {
  // Totals of repeated messages belong in this log, not on standard error.
  if (isStarted()) RepeatedLog::closeAll("LogManager::shutDown()");
  platform::collectLibraryMessages(false);
  writeLibraryMessages();
  Manager::shutDown();
  writeLog(5, "LogManager::shutDown(): successfully stopped.");
  if (p_f != nullptr) {
    FILE* p_file = p_f;
    p_f = nullptr;
    if (fclose(p_file) != 0) noteWriteFailure();
  }
}

// Lines that never reach the file (a full disk) leave no trace in it: the
// first failure is said once on standard error, after the terminal is back.
void LogManager::noteWriteFailure() const {
  const int code = errno;
  if (write_failed) return;
  write_failed = true;
  writeNotice("the log '%s' could not be written (%s); lines are missing from it",
              log_file_name.c_str(), std::strerror(code));
}

void LogManager::setFlush(bool new_do_flush) { do_flush = new_do_flush; }

std::string LogManager::getFirstError() const { return first_error; }

std::string LogManager::getLogFileName() const { return log_file_name; }

void LogManager::setLogLevel(int new_log_level) { log_level = new_log_level; }

int LogManager::getLogLevel() const { return log_level; }

void LogManager::setLogTimeString(bool on) { log_time_string = on; }

void LogManager::setLogStepCount(bool on) { log_step_count = on; }

int LogManager::writeLog(int level, const char* fmt, ...) const {
  va_list args;
  va_start(args, fmt);
  int result = writeLine(level, fmt, args);
  va_end(args);
  return result;
}

int LogManager::writeLog(const char* fmt, ...) const {
  va_list args;
  va_start(args, fmt);
  int result = writeLine(log_level, fmt, args);
  va_end(args);
  return result;
}

namespace {

// Distinct notices said on standard error before the rest go to the log only.
const std::size_t MAX_NOTICES = 100;

// The message formatted whole; a message that cannot be formatted is empty
// and flagged.
std::string format(const char* fmt, va_list args, bool& failed) {
  va_list measure;
  va_copy(measure, args);
  const int length = std::vsnprintf(nullptr, 0, fmt, measure);
  va_end(measure);
  if (length < 0) {
    failed = true;
    return "";
  }
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  std::vsnprintf(&text[0], text.size(), fmt, args);
  text.pop_back();
  return text;
}

bool isSevere(const std::string& text) {
  return text.find("Error!") != std::string::npos || text.find("Warning!") != std::string::npos;
}

}  // namespace

int LogManager::writeLine(int level, const char* fmt, va_list args) const {
  if (level > log_level || RepeatedLog::isHushed()) return 0;
  // What a library printed comes before the line about its consequence.
  if (platform::libraryMessagesWaiting()) writeLibraryMessages();
  FILE* out = p_f != nullptr ? p_f : stderr;
  bool failed = false;
  const std::string text = format(fmt, args, failed);
  if (log_time_string && fprintf(out, "%s ", getTimeString()) < 0) failed = true;
  if (log_step_count && fprintf(out, "%4d ", LoopState::getInstance().getStepCount()) < 0) {
    failed = true;
  }
  if (!line_prefix.empty() && fputs(line_prefix.c_str(), out) == EOF) failed = true;
  if (fputs(text.c_str(), out) == EOF && !text.empty()) failed = true;
  if (first_error.empty() && text.find("Error") != std::string::npos) first_error = text;
  if (fputs("\n", out) == EOF) failed = true;
  if ((do_flush || isSevere(text)) && fflush(out) != 0) failed = true;
  if (failed && out == p_f) noteWriteFailure();
  return failed ? -1 : static_cast<int>(text.size());
}

bool LogManager::writeNotice(const char* fmt, ...) const {
  va_list args;
  va_start(args, fmt);
  bool failed = false;
  const std::string text = format(fmt, args, failed);
  va_end(args);
  if (failed) return false;
  const bool first = problems->add(text, LoopState::getInstance().getStepCount());
  if (noticed.count(text) != 0 || noticed.size() > MAX_NOTICES) return first;
  noticed.insert(text);
  // A game that keeps making new problems must not flood the terminal or
  // fill memory: past the limit, one line says where the rest is.
  say(noticed.size() <= MAX_NOTICES ? text : "further problems are in the log only");
  return first;
}

void LogManager::say(const std::string& text) const {
  if (notices_held) {
    held_notices.push_back(text);
  } else {
    sayOnStandardError(text);
  }
}

void LogManager::sayOnStandardError(const std::string& text) const {
  if (p_f == nullptr) {
    std::fprintf(stderr, "Tarnwick: %s\n", text.c_str());
  } else {
    std::fprintf(stderr, "Tarnwick: %s (the log is %s)\n", text.c_str(), log_file_name.c_str());
  }
}

void LogManager::holdNotices(bool hold) {
  notices_held = hold;
  if (hold) return;
  for (const std::string& text : held_notices) sayOnStandardError(text);
  held_notices.clear();
}

const ProblemList& LogManager::getProblems() const { return *problems; }

void LogManager::setLinePrefix(const std::string& prefix) { line_prefix = prefix; }

std::string LogManager::getLinePrefix() const { return line_prefix; }

void LogManager::writeLibraryMessages() const {
  if (writing_library_messages || !platform::libraryMessagesWaiting()) return;
  writing_library_messages = true;
  unsigned long dropped = 0;
  for (const platform::LibraryMessage& m : platform::takeLibraryMessages(dropped)) {
    writeLog("Library message (%s): %s", m.origin.c_str(), m.text.c_str());
  }
  if (dropped > 0) {
    writeLog("LogManager::writeLibraryMessages(): Warning! %lu more library messages not kept.",
             dropped);
  }
  writing_library_messages = false;
}

}  // namespace tw
