// The sprite corpus (tests/data/sprites): where its files are, its good
// files, and its bad files with what tw-sprite check says about each and the
// messages the reader logs, as listed in expected-messages.txt. Shared by the
// resource manager's test and tw-sprite's.
#pragma once

#include <fstream>
#include <string>
#include <vector>

#include "tests/support/TestSupport.h"

namespace tw_test {

inline std::string spriteFile(const std::string& name) {
  return dataPath("sprites/" + name);
}

const char* const GOOD_SPRITE_FILES[] = {
    "good-simple.txt",         "good-simple-crlf.txt",    "good-robust.txt",
    "good-robust-crlf.txt",    "good-robust-default.txt", "good-robust-lenient.txt",
    "good-robust-space.txt",   "good-utf8-robust.txt",    "good-utf8-simple-bom.txt",
    "good-robust-colors.txt"};

struct BadFile {
  std::string name;
  std::string check;                  // what tw-sprite check prints, "FILE:LINE: message"
  std::vector<std::string> messages;  // logged, in this order
};

inline std::vector<BadFile> badSpriteFiles() {
  std::vector<BadFile> files;
  std::ifstream in(spriteFile("expected-messages.txt"));
  bool in_entry = false;
  for (std::string line; std::getline(in, line);) {
    if (line.empty() || (!in_entry && line[0] == '#')) {
      in_entry = in_entry && !line.empty();
    } else if (in_entry) {
      files.back().messages.push_back(line);
    } else {
      files.push_back({line.substr(0, line.find(':')), line, {}});
      in_entry = true;
    }
  }
  return files;
}

}  // namespace tw_test
