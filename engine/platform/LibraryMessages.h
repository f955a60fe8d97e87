// Messages other libraries print (the window and audio library's error
// stream, whatever reaches standard error while it is captured), held for the
// log. Any thread may post; the game's own thread takes them and writes them
// with their origin, so they never land on the game's screen.
#pragma once

#include <string>
#include <vector>

namespace tw {
namespace platform {

struct LibraryMessage {
  std::string origin;  // "SFML", "standard error"
  std::string text;    // one line, without its line feed
};

// Whether posted lines are kept for the log (set while the log is open);
// while not, post answers false and the poster prints the line as it would
// have without the log.
void collectLibraryMessages(bool on);
bool collectingLibraryMessages();
// Keeps one line (a trailing line feed is dropped); false when not
// collecting. Past MAX_HELD_LIBRARY_MESSAGES waiting lines, further ones are
// only counted.
bool postLibraryMessage(const std::string& origin, std::string text);
const unsigned MAX_HELD_LIBRARY_MESSAGES = 1000;
// The lines posted since the last call, in order; dropped is set to the count
// of lines that did not fit meanwhile.
std::vector<LibraryMessage> takeLibraryMessages(unsigned long& dropped);
// Cheap check for the game's thread: anything posted since the last take.
bool libraryMessagesWaiting();

}  // namespace platform
}  // namespace tw
