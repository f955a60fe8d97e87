#include "engine/core/LiveObjects.h"
#include "engine/core/LiveSnapshot.h"

#include <iterator>
#include <unordered_map>

namespace tw {

namespace {

std::unordered_map<const void*, int>& registry() {
  static std::unordered_map<const void*, int> live;
  return live;
}

unsigned long destruction_count = 0;

// The snapshots alive now, innermost last.
std::vector<LiveSnapshot*>& openSnapshots() {
  static std::vector<LiveSnapshot*> open;
  return open;
}

}  // namespace

void LiveObjects::add(const void* address, int id) { registry()[address] = id; }

void LiveObjects::remove(const void* address) {
  for (LiveSnapshot* p_snapshot : openSnapshots()) p_snapshot->noticeDestruction(address);
  registry().erase(address);
  destruction_count++;
}

bool LiveObjects::isAlive(const void* address, int id) {
  auto it = registry().find(address);
  return it != registry().end() && it->second == id;
}

bool LiveObjects::isAlive(const void* address) { return registry().count(address) != 0; }

unsigned long LiveObjects::getDestructionCount() { return destruction_count; }

bool LiveObjects::lookUp(const void* address, int& id) {
  auto it = registry().find(address);
  if (it == registry().end()) return false;
  id = it->second;
  return true;
}

void LiveObjects::open(LiveSnapshot* p_snapshot) { openSnapshots().push_back(p_snapshot); }

void LiveObjects::close(LiveSnapshot* p_snapshot) {
  std::vector<LiveSnapshot*>& open = openSnapshots();
  for (auto it = open.rbegin(); it != open.rend(); ++it) {
    if (*it == p_snapshot) {
      open.erase(std::next(it).base());
      return;
    }
  }
}

LiveSnapshot::LiveSnapshot() { LiveObjects::open(this); }

LiveSnapshot::~LiveSnapshot() { LiveObjects::close(this); }

void LiveSnapshot::reserve(std::size_t count) { addresses.reserve(count); }

void LiveSnapshot::add(const void* address) {
  addresses.push_back(address);
  if (!looked_up) return;
  Seen entry{0, false};
  entry.found = LiveObjects::lookUp(address, entry.id);
  seen.push_back(entry);
}

bool LiveSnapshot::stillAlive(std::size_t i) const {
  if (!looked_up) return true;
  return i < seen.size() && seen[i].found && LiveObjects::isAlive(addresses[i], seen[i].id);
}

void LiveSnapshot::destroying(std::size_t i) {
  p_expected = i < addresses.size() ? addresses[i] : nullptr;
}

void LiveSnapshot::noticeDestruction(const void* address) {
  if (looked_up) return;
  if (address == p_expected) {
    p_expected = nullptr;
    return;
  }
  looked_up = true;
  seen.resize(addresses.size());
  for (std::size_t i = 0; i < addresses.size(); i++) {
    seen[i].found = LiveObjects::lookUp(addresses[i], seen[i].id);
  }
}

LiveMark::LiveMark(const void* address, int id)
    : address(address), id(id), destroyed_before(LiveObjects::getDestructionCount()) {}

bool LiveMark::stillAlive() const {
  return LiveObjects::getDestructionCount() == destroyed_before || LiveObjects::isAlive(address, id);
}

}  // namespace tw
