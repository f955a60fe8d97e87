// The sprite corpus (tests/data/sprites): where its files are, and its bad
// files with the messages the reader writes about each, as listed in
// expected-messages.txt. Shared by the resource manager's test and tw-sprite's.
#pragma once

#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "tests/support/TestSupport.h"

namespace tw_test {

inline std::string spriteFile(const std::string& name) {
  return dataPath("sprites/" + name);
}

struct BadFile {
  std::string name;
  int line;                           // the file line of the first message
  std::vector<std::string> messages;  // in this order
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
      const std::size_t space = line.rfind(' ');
      files.push_back({line.substr(0, space), std::atoi(line.c_str() + space + 1), {}});
      in_entry = true;
    }
  }
  return files;
}

}  // namespace tw_test
