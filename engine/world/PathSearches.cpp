#include "engine/world/PathSearches.h"

namespace tw {

namespace {
PathSearches* p_installed = nullptr;  // not owned
}  // namespace

void PathSearches::install(PathSearches* p_searches) { p_installed = p_searches; }

PathSearches* PathSearches::installed() { return p_installed; }

}  // namespace tw
