// Reads the configuration file again while the game runs: applies the
// settings that can change at once (frame time, background colour) and says
// in the log which changed settings take effect only at the next start.
#pragma once

#include <string>
#include <vector>

namespace tw {

class ConfigReload {
 public:
  // The keys of the changed settings that wait for a restart.
  static std::vector<std::string> apply();
};

}  // namespace tw
