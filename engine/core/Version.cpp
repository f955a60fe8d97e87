#include "engine/core/Version.h"

namespace tw {

#define TW_STRINGIFY(x) #x
#define TW_VERSION_TEXT(a, b, c) TW_STRINGIFY(a) "." TW_STRINGIFY(b) "." TW_STRINGIFY(c)

Version getVersion() {
  return Version{TARNWICK_VERSION_MAJOR, TARNWICK_VERSION_MINOR, TARNWICK_VERSION_PATCH};
}

const char* getVersionString() {
  return TW_VERSION_TEXT(TARNWICK_VERSION_MAJOR, TARNWICK_VERSION_MINOR, TARNWICK_VERSION_PATCH);
}

}  // namespace tw
