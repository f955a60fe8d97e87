// Storage that outlasts the program besides its file system, for a host
// whose file system is forgotten when the program ends: a browser page keeps
// the user's data folder in the browser's storage. Natively the file system
// lasts by itself and these do nothing.
#pragma once

#include "engine/platform/Export.h"

#include <string>

namespace tw {
namespace platform {

// Copies what the host kept back into the file system; the first call does
// it, later calls do nothing.
void restoreHostStorage();

// What the game keeps in the user's data folder, in the player's words ("the
// best score and the mute choice"), for the message a host that cannot keep
// it shows; call it before the first read. Natively nothing needs saying.
TW_API void describeKeptData(const std::string& what);

// Keeps bytes, just written to path, where the host lasts. 0, or -1 with
// the reason in why (storage full or blocked).
int keepInHostStorage(const std::string& path, const std::string& bytes, std::string& why);

}  // namespace platform
}  // namespace tw
