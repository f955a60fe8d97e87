// Storage that outlasts the program besides its file system, for a host
// whose file system is forgotten when the program ends: a browser page keeps
// the user's data folder in the browser's storage. Natively the file system
// lasts by itself and these do nothing.
#pragma once

#include <string>

namespace tw {
namespace platform {

// Copies what the host kept back into the file system; the first call does
// it, later calls do nothing.
void restoreHostStorage();

// Keeps bytes, just written to path, where the host lasts. 0, or -1 with
// the reason in why (storage full or blocked).
int keepInHostStorage(const std::string& path, const std::string& bytes, std::string& why);

}  // namespace platform
}  // namespace tw
