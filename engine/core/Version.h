// The engine's version, known to a game at compile time (the macros, from the
// headers it was built with) and at run time (getVersion, from the library it
// runs with). The build reads its project version from this file.
#pragma once

#include "engine/platform/Export.h"

#define TARNWICK_VERSION_MAJOR 4
#define TARNWICK_VERSION_MINOR 21
#define TARNWICK_VERSION_PATCH 0

namespace tw {

// (Not named major and minor: some C libraries define those as macros.)
struct TW_API Version {
  int major_version;
  int minor_version;
  int patch_version;
};

// The version of the library the program runs with.
TW_API Version getVersion();
// The same as "4.21.0".
TW_API const char* getVersionString();

}  // namespace tw
