#include "engine/core/LiveObjects.h"

#include <unordered_map>

namespace tw {

namespace {

std::unordered_map<const void*, int>& registry() {
  static std::unordered_map<const void*, int> live;
  return live;
}

unsigned long destruction_count = 0;

}  // namespace

void LiveObjects::add(const void* address, int id) { registry()[address] = id; }

void LiveObjects::remove(const void* address) {
  registry().erase(address);
  destruction_count++;
}

bool LiveObjects::isAlive(const void* address, int id) {
  auto it = registry().find(address);
  return it != registry().end() && it->second == id;
}

bool LiveObjects::isAlive(const void* address) { return registry().count(address) != 0; }

unsigned long LiveObjects::getDestructionCount() { return destruction_count; }

LiveSnapshot::LiveSnapshot() : destroyed_before(LiveObjects::getDestructionCount()) {}

void LiveSnapshot::add(const void* address, int id) { entries.emplace_back(address, id); }

bool LiveSnapshot::stillAlive(std::size_t i) const {
  if (LiveObjects::getDestructionCount() == destroyed_before + destroyed_here) return true;
  return i < entries.size() && LiveObjects::isAlive(entries[i].first, entries[i].second);
}

void LiveSnapshot::destroyedOne() { destroyed_here++; }

LiveMark::LiveMark(const void* address, int id)
    : address(address), id(id), destroyed_before(LiveObjects::getDestructionCount()) {}

bool LiveMark::stillAlive() const {
  return LiveObjects::getDestructionCount() == destroyed_before || LiveObjects::isAlive(address, id);
}

}  // namespace tw
