// The check made before any file named by a user or a resource table is handed
// to a reader: names that exist but are not regular files (folders, devices,
// pipes) are refused, because the readers would block on them or read them
// without end.
#pragma once

#include <string>

namespace tw {
namespace platform {

// True when name exists and is not a regular file (links are followed).
bool isSpecialFile(const std::string& name);
// True when name itself (not through a link) is a character device, such as
// the null device or a terminal.
bool isDeviceNamedDirectly(const std::string& name);

}  // namespace platform
}  // namespace tw
