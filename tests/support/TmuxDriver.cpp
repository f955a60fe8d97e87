#include "tests/support/TmuxDriver.h"

#include <cstdio>
#include <fstream>
#include <sstream>

#include <unistd.h>

#include "tests/support/TestSupport.h"

namespace tw_test {

namespace {

std::string quoted(const std::string& text) {
  std::string out = "'";
  for (char c : text) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return out + "'";
}

std::vector<std::string> splitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  std::string line;
  while (std::getline(in, line)) lines.push_back(line);
  return lines;
}

// Applies one SGR sequence's parameters to the current colours (-1: default).
void applySgr(const std::string& params, int& foreground, int& background) {
  std::vector<int> numbers(1, 0);
  for (char c : params) {
    if (c == ';' || c == ':') numbers.push_back(0);
    if (c >= '0' && c <= '9') numbers.back() = numbers.back() * 10 + (c - '0');
  }
  for (std::size_t i = 0; i < numbers.size(); i++) {
    const int n = numbers[i];
    if (n == 0) foreground = background = -1;
    if (n == 39) foreground = -1;
    if (n == 49) background = -1;
    if (n >= 30 && n <= 37) foreground = n - 30;
    if (n >= 90 && n <= 97) foreground = n - 90;
    if (n >= 40 && n <= 47) background = n - 40;
    if (n >= 100 && n <= 107) background = n - 100;
    if ((n == 38 || n == 48) && i + 2 < numbers.size() && numbers[i + 1] == 5) {
      (n == 38 ? foreground : background) = numbers[i + 2];
      i += 2;
    }
  }
}

char letter(int color) { return color >= 0 && color < 8 ? "krgybmcw"[color] : '*'; }

}  // namespace

namespace {
int drivers = 0;  // drivers made by this process, for unique server names
}  // namespace

TmuxDriver::TmuxDriver()
    : socket("tw-test-" + std::to_string(getpid()) + "-" + std::to_string(++drivers)),
      config("/tmp/" + socket + ".conf") {
  std::ofstream(config) << "set -g default-terminal tmux-256color\n";
}

TmuxDriver::~TmuxDriver() {
  tmux("kill-server");
  std::remove(config.c_str());
}

std::string TmuxDriver::tmux(const std::string& arguments) const {
  const std::string command = "tmux -f " + config + " -L " + socket + " " + arguments + " 2>/dev/null";
  std::string output;
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return output;
  char buffer[4096];
  std::size_t n;
  while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) output.append(buffer, n);
  pclose(pipe);
  return output;
}

bool TmuxDriver::start(int columns, int rows, const std::string& command) {
  tmux("new-session -d -x " + std::to_string(columns) + " -y " + std::to_string(rows) + " " +
       quoted(command));
  return waitUntil([this] { return !display("#{pane_pid}").empty(); }, 5000);
}

void TmuxDriver::sendKeys(const std::string& keys) const { tmux("send-keys " + keys); }

void TmuxDriver::resize(int columns, int rows) const {
  tmux("resize-window -x " + std::to_string(columns) + " -y " + std::to_string(rows));
}

std::string TmuxDriver::display(const std::string& format) const {
  std::string out = tmux("display -p " + quoted(format));
  while (!out.empty() && out.back() == '\n') out.pop_back();
  return out;
}

std::vector<std::string> TmuxDriver::rows() const { return splitLines(tmux("capture-pane -p")); }

std::vector<std::string> TmuxDriver::colorRows() const { return letterRows(false); }

std::vector<std::string> TmuxDriver::backgroundRows() const { return letterRows(true); }

std::vector<std::string> TmuxDriver::letterRows(bool backgrounds) const {
  std::vector<std::string> result;
  int foreground = -1, background = -1;  // tmux writes only changes, which carry over to the next row
  const char blank = backgrounds ? '.' : ' ';
  for (const std::string& line : splitLines(tmux("capture-pane -p -e"))) {
    std::string letters;
    for (std::size_t i = 0; i < line.size(); i++) {
      if (line[i] == '\x1b' && i + 1 < line.size() && line[i + 1] == '[') {
        const std::size_t end = line.find('m', i);
        if (end == std::string::npos) break;
        applySgr(line.substr(i + 2, end - i - 2), foreground, background);
        i = end;
      } else if ((static_cast<unsigned char>(line[i]) & 0xC0) == 0x80) {
        continue;  // the rest of a UTF-8 character: one cell, one letter
      } else if (backgrounds) {
        letters += background >= 0 ? letter(background) : blank;
      } else {
        letters += line[i] == ' ' ? blank : letter(foreground);
      }
    }
    while (!letters.empty() && letters.back() == blank) letters.pop_back();
    result.push_back(letters);
  }
  return result;
}


}  // namespace tw_test
