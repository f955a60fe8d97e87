#include "game/SaveFile.h"

#include <utility>

#include "engine/core/LogManager.h"
#include "engine/platform/Files.h"

namespace veld {

namespace {
const std::size_t MAX_BYTES = 64;  // far more than a number needs
const std::size_t MAX_DIGITS = 9;  // stays below INT_MAX

const tw::LogManager& log() { return tw::LogManager::getInstance(); }
}  // namespace

SaveFile::SaveFile(std::string new_folder, std::string new_name)
    : folder(std::move(new_folder)), name(std::move(new_name)) {}

std::string SaveFile::defaultFolder() {
  const std::string data = tw::platform::userDataFolder();
  return data.empty() ? "" : data + "/veld";
}

bool SaveFile::parse(const std::string& bytes, int& value) {
  std::string digits = bytes;
  if (!digits.empty() && digits.back() == '\n') digits.pop_back();
  if (digits.empty() || digits.size() > MAX_DIGITS) return false;
  int number = 0;
  for (char c : digits) {
    if (c < '0' || c > '9') return false;
    number = number * 10 + (c - '0');
  }
  value = number;
  return true;
}

std::string SaveFile::path() const { return folder.empty() ? "" : folder + "/" + name; }

SaveFile::Status SaveFile::read(int& value) const {
  if (folder.empty()) {
    log().writeLog("SaveFile::read(): Warning! No data folder (HOME unset): '%s' not kept.",
                   name.c_str());
    return MISSING;
  }
  std::string bytes;
  switch (tw::platform::readWholeFile(path(), MAX_BYTES, bytes)) {
    case tw::platform::ReadStatus::MISSING: return MISSING;
    case tw::platform::ReadStatus::UNREADABLE:
      log().writeLog("SaveFile::read(): Warning! Cannot read '%s'.", path().c_str());
      return UNREADABLE;
    case tw::platform::ReadStatus::TOO_LARGE:
      log().writeLog("SaveFile::read(): Warning! '%s' is too large. Ignored.", path().c_str());
      return BAD;
    case tw::platform::ReadStatus::OK: break;
  }
  if (!parse(bytes, value)) {
    log().writeLog("SaveFile::read(): Warning! '%s' does not hold a number. Ignored.",
                   path().c_str());
    return BAD;
  }
  return FOUND;
}

int SaveFile::write(int value) const {
  if (folder.empty()) return -1;
  std::string why;
  if (tw::platform::makeFolders(folder, why) != 0 ||
      tw::platform::replaceFile(path(), std::to_string(value) + "\n", why) != 0) {
    log().writeLog("SaveFile::write(): Warning! Cannot keep '%s': %s.", name.c_str(),
                   why.c_str());
    return -1;
  }
  return 0;
}

void SaveFile::removeLeftovers() const {
  if (!folder.empty()) tw::platform::removeStaleTemporaries(path());
}

}  // namespace veld
