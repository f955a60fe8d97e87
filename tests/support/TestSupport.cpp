#include "tests/support/TestSupport.h"

#include <cctype>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>
#include <utility>

#include "engine/core/LogManager.h"

namespace tw_test {

TempDir::TempDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "tw-test-XXXXXX").string();
  char* made = mkdtemp(pattern.data());
  dir = made != nullptr ? made : pattern;
}

TempDir::~TempDir() {
  std::error_code ignored;
  std::filesystem::remove_all(dir, ignored);
}

std::string TempDir::file(const std::string& name) const { return dir + "/" + name; }

std::string TempDir::write(const std::string& name, const std::string& content) const {
  std::string path = file(name);
  std::ofstream out(path, std::ios::binary);
  out << content;
  return path;
}

std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

std::string dataPath(const std::string& name) {
  const char* data = std::getenv("TW_TEST_DATA");
  return std::string(data != nullptr ? data : "tests/data") + "/" + name;
}

std::vector<std::string> caseLines(const std::string& name) {
  std::vector<std::string> cases;
  for (std::string& line : readLines(dataPath(name))) {
    if (!line.empty() && line[0] != '#') cases.push_back(std::move(line));
  }
  return cases;
}

std::string goldenFrame(const std::string& name, const std::string& actual) {
  const std::string path = dataPath("frames/" + name);
  if (std::getenv("TW_UPDATE_GOLDEN") != nullptr) {
    std::ofstream(path, std::ios::binary) << actual;
  }
  return readFile(path);
}

std::vector<std::string> readLines(const std::string& path) {
  std::vector<std::string> lines;
  std::ifstream in(path);
  std::string line;
  while (std::getline(in, line)) lines.push_back(line);
  return lines;
}

std::string logMessage(const std::string& line) {
  // "hh:mm:ss " is 9 characters; then the right-aligned step count and a blank.
  if (line.size() < 14) return line;
  size_t pos = 9;
  while (pos < line.size() && line[pos] == ' ') pos++;
  while (pos < line.size() && (std::isdigit(static_cast<unsigned char>(line[pos])) || line[pos] == '-')) pos++;
  return pos + 1 <= line.size() ? line.substr(pos + 1) : "";
}

bool fileContains(const std::string& path, const std::string& text) {
  return readFile(path).find(text) != std::string::npos;
}

int countLinesWith(const std::string& path, const std::string& text) {
  int count = 0;
  for (const std::string& line : readLines(path)) count += line.find(text) != std::string::npos;
  return count;
}

bool waitUntil(const std::function<bool()>& ok, int timeout_ms) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
  while (!ok()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return true;
}

void useTestDisplay() {
#ifdef TW_TEST_DISPLAY
  setenv("DISPLAY", TW_TEST_DISPLAY, 1);
#endif
}

ScopedEnv::ScopedEnv(const std::string& env_name, const char* value) : name(env_name) {
  const char* old = std::getenv(name.c_str());
  had_value = old != nullptr;
  if (had_value) old_value = old;
  if (value != nullptr) {
    setenv(name.c_str(), value, 1);
  } else {
    unsetenv(name.c_str());
  }
}

ScopedEnv::~ScopedEnv() {
  if (had_value) {
    setenv(name.c_str(), old_value.c_str(), 1);
  } else {
    unsetenv(name.c_str());
  }
}

LogCapture::LogCapture() : log_path(dir.file("test.log")) {
  setenv("TARNWICK_LOG", log_path.c_str(), 1);
  tw::LogManager::getInstance().startUp();
  tw::LogManager::getInstance().setFlush(true);
}

LogCapture::~LogCapture() {
  tw::LogManager& log = tw::LogManager::getInstance();
  if (log.isStarted()) log.shutDown();
  unsetenv("TARNWICK_LOG");
}

std::vector<std::string> LogCapture::messages() const {
  std::vector<std::string> out;
  for (const std::string& line : readLines(log_path)) out.push_back(logMessage(line));
  return out;
}

bool LogCapture::contains(const std::string& text) const { return fileContains(log_path, text); }

}  // namespace tw_test
