#include "engine/platform/FileCheck.h"

#include <filesystem>
#include <system_error>

namespace tw {
namespace platform {

bool isSpecialFile(const std::string& name) {
  std::error_code ec;
  const std::filesystem::file_status status = std::filesystem::status(name, ec);
  return std::filesystem::exists(status) && !std::filesystem::is_regular_file(status);
}

bool isDeviceNamedDirectly(const std::string& name) {
  std::error_code ec;
  const std::filesystem::file_status status = std::filesystem::symlink_status(name, ec);
  return std::filesystem::is_character_file(status);
}

}  // namespace platform
}  // namespace tw
