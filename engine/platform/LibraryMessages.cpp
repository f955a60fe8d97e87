#include "engine/platform/LibraryMessages.h"

#include <atomic>
#include <mutex>

namespace tw {
namespace platform {

namespace {
std::mutex held_mutex;
std::vector<LibraryMessage> held;  // guarded by held_mutex
unsigned long dropped_lines = 0;   // guarded by held_mutex
std::atomic<bool> collecting(false);
std::atomic<bool> waiting(false);
}  // namespace

void collectLibraryMessages(bool on) { collecting = on; }

bool collectingLibraryMessages() { return collecting; }

bool postLibraryMessage(const std::string& origin, std::string text) {
  if (!collecting) return false;
  if (!text.empty() && text.back() == '\n') text.pop_back();
  std::lock_guard<std::mutex> lock(held_mutex);
  if (held.size() >= MAX_HELD_LIBRARY_MESSAGES) {
    dropped_lines++;
  } else {
    held.push_back(LibraryMessage{origin, std::move(text)});
  }
  waiting = true;
  return true;
}

std::vector<LibraryMessage> takeLibraryMessages(unsigned long& dropped) {
  std::vector<LibraryMessage> taken;
  std::lock_guard<std::mutex> lock(held_mutex);
  taken.swap(held);
  dropped = dropped_lines;
  dropped_lines = 0;
  waiting = false;
  return taken;
}

bool libraryMessagesWaiting() { return waiting; }

}  // namespace platform
}  // namespace tw
