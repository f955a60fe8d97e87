// The configuration file: every input is written to a file and loaded the way
// start-up loads it, and looked up with match() under a key taken from its
// first line. Whatever the file says, the frame time stays in 0..1000 ms.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "engine/core/Config.h"
#include "engine/core/Utility.h"
#include "fuzz/FuzzSupport.h"

namespace {
std::string config_path;

void removeConfigFile() { unlink(config_path.c_str()); }

void writeConfigFile(const std::string& bytes) {
  FILE* file = std::fopen(config_path.c_str(), "wb");
  tw_fuzz::require(file != nullptr, "cannot write the configuration file");
  std::fwrite(bytes.data(), 1, bytes.size(), file);
  std::fclose(file);
}
}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  char name[] = "/tmp/tw-fuzz-config-XXXXXX";
  const int fd = mkstemp(name);
  tw_fuzz::require(fd >= 0, "no temporary file");
  close(fd);
  config_path = name;
  std::atexit(removeConfigFile);
  setenv("TARNWICK_CONFIG", name, 1);
  tw_fuzz::startEngine(false);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes = tw_fuzz::bytesOf(data, size);
  writeConfigFile(bytes);
  tw::Config& config = tw::Config::getInstance();
  config.reset();
  config.loadConfig();
  const int frame_time = config.getFrameTime();
  tw_fuzz::require(frame_time >= 0 && frame_time <= 1000, "frame time out of range");
  const std::string key = bytes.substr(0, bytes.find('\n'));
  tw::match(bytes, key);
  return 0;
}
