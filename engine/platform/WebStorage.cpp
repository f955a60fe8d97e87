// The user's data folder in a browser page: the page's file system is
// forgotten on reload, so files written there are also kept in the browser's
// storage (per page) and copied back before the first read.
#include "engine/platform/HostStorage.h"

#include <emscripten.h>

#include "engine/platform/Files.h"

namespace {

EM_JS(void, tw_storage_restore, (), { Module.tw.restoreFiles(); });
EM_JS(void, tw_storage_describe, (const char* what), { Module.tw.keptData = UTF8ToString(what); });
EM_JS(int, tw_storage_keep, (const char* path, const char* bytes, int length),
      { return Module.tw.keepFile(UTF8ToString(path), bytes, length); });

bool restored = false;

bool inDataFolder(const std::string& path) {
  const std::string folder = tw::platform::userDataFolder();
  return !folder.empty() && path.compare(0, folder.size() + 1, folder + "/") == 0;
}

}  // namespace

namespace tw {
namespace platform {

void restoreHostStorage() {
  if (restored) return;
  restored = true;
  tw_storage_restore();
}

void describeKeptData(const std::string& what) { tw_storage_describe(what.c_str()); }

int keepInHostStorage(const std::string& path, const std::string& bytes, std::string& why) {
  if (!inDataFolder(path)) return 0;
  if (tw_storage_keep(path.c_str(), bytes.data(), static_cast<int>(bytes.size())) == 0) return 0;
  why = "the browser's storage is full or blocked";
  return -1;
}

}  // namespace platform
}  // namespace tw
