#include "engine/platform/HostStorage.h"

#include "engine/platform/Files.h"

namespace tw {
namespace platform {

void restoreHostStorage() {}

void describeKeptData(const std::string&) {}

int keepInHostStorage(const std::string&, const std::string&, std::string&) { return 0; }

}  // namespace platform
}  // namespace tw
