// Helpers shared by the test suites: temporary folders and files, reading a
// log back, and environment variables set for the length of one test.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace tw_test {

// A fresh folder under the system's temporary directory, removed on destruction.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::string& path() const { return dir; }
  std::string file(const std::string& name) const;
  // Writes content (bytes as given) to name inside the folder; returns its path.
  std::string write(const std::string& name, const std::string& content) const;

 private:
  std::string dir;
};

std::string readFile(const std::string& path);
std::vector<std::string> readLines(const std::string& path);
// The path of name inside the test data folder (TW_TEST_DATA, else tests/data).
std::string dataPath(const std::string& name);
// The lines of the data file name that hold cases: all but empty lines and
// comment lines starting with "#".
std::vector<std::string> caseLines(const std::string& name);
// The golden frame tests/data/frames/name; with TW_UPDATE_GOLDEN set in the
// environment, actual is first written there (to record a new golden frame).
std::string goldenFrame(const std::string& name, const std::string& actual);
// The message part of a log line (after "hh:mm:ss " and the step column).
std::string logMessage(const std::string& line);
// True when some line of the file contains text.
bool fileContains(const std::string& path, const std::string& text);
// How many lines of the file contain text.
int countLinesWith(const std::string& path, const std::string& text);
// Polls every 50 ms until ok() holds; false after timeout_ms.
bool waitUntil(const std::function<bool()>& ok, int timeout_ms = 15000);

// Points DISPLAY at the virtual X server of the window tests (TW_TEST_DISPLAY).
void useTestDisplay();

// Sets (or, with a null value, unsets) an environment variable until destroyed.
class ScopedEnv {
 public:
  ScopedEnv(const std::string& name, const char* value);
  ~ScopedEnv();
  ScopedEnv(const ScopedEnv&) = delete;
  ScopedEnv& operator=(const ScopedEnv&) = delete;

 private:
  std::string name;
  bool had_value;
  std::string old_value;
};

// Starts the log manager writing to a file in a temporary folder, so that a
// test can read back what the engine logged. Stops it on destruction.
class LogCapture {
 public:
  LogCapture();
  ~LogCapture();
  const std::string& path() const { return log_path; }
  std::vector<std::string> messages() const;  // message parts of every line
  bool contains(const std::string& text) const;

 private:
  TempDir dir;
  std::string log_path;
};

}  // namespace tw_test
