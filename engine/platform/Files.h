// Files as the engine and games keep them: reading a small file whole with a
// size limit, replacing a file so that a crash never leaves it half written,
// and the folders a program needs (its own, the user's data folder).
#pragma once

#include "engine/platform/Export.h"

#include <cstddef>
#include <string>

namespace tw {
namespace platform {

enum class ReadStatus {
  OK,
  MISSING,     // no such file
  UNREADABLE,  // there, but not a readable regular file (a folder, no permission ...)
  TOO_LARGE,   // longer than the limit; nothing is read
};

// Reads the whole file into bytes when it holds at most max_bytes.
TW_API ReadStatus readWholeFile(const std::string& path, std::size_t max_bytes, std::string& bytes);

// Replaces path with bytes: writes the temporary file path + ".tmp" under a
// lock, flushes it to the disk and renames it over path, so readers see the
// old content or the new one, never a mix. Two programs replacing the same
// file take turns; a program killed while writing leaves that one temporary
// file, reused by the next writer. In a browser page a file in the user data
// folder is also kept in the browser's storage (HostStorage.h). 0, or -1 with
// the reason in why.
TW_API int replaceFile(const std::string& path, const std::string& bytes, std::string& why);

// Removes what a killed replaceFile(path) left: the temporary file when no
// program is writing it (and temporary files of an earlier naming,
// path + ".tmp" + a process id, whose process no longer runs).
TW_API void removeStaleTemporaries(const std::string& path);

// Creates the folder and any missing parents. 0, or -1 with the reason in why.
TW_API int makeFolders(const std::string& path, std::string& why);

// $XDG_DATA_HOME when it is set and absolute, else $HOME/.local/share; ""
// when neither is known.
TW_API std::string userDataFolder();

// The folder holding the running program, "" when it cannot be found.
TW_API std::string programFolder();

// path made absolute against the working directory (unchanged when it
// already is, or when the working directory is unknown).
TW_API std::string absolutePath(const std::string& path);

// Makes folder the working directory. 0, or -1.
TW_API int changeFolder(const std::string& folder);

// What the game keeps in the user's data folder, in the player's words ("the
// best score and the mute choice"), for the message a host that cannot keep
// it shows (a browser page whose storage is blocked); call it before the
// first read. Natively the file system lasts by itself and nothing needs
// saying.
TW_API void describeKeptData(const std::string& what);

}  // namespace platform
}  // namespace tw
