#include "engine/world/OrderedObjectSet.h"

#include <new>

namespace tw {

namespace {
// Below this many slots a sparse list is not worth compacting.
const size_t MIN_COMPACT_SLOTS = 32;
}  // namespace

int OrderedObjectSet::insert(Object* p) {
  if (p == nullptr) return -1;
  try {
    if (!slot_of.emplace(p, slots.size()).second) return -1;
  } catch (const std::bad_alloc&) {
    return -1;
  }
  try {
    slots.push_back(p);
  } catch (const std::bad_alloc&) {
    slot_of.erase(p);
    return -1;
  }
  return 0;
}

int OrderedObjectSet::remove(const Object* p) {
  auto it = slot_of.find(p);
  if (it == slot_of.end()) return -1;
  slots[it->second] = nullptr;
  slot_of.erase(it);
  compactIfSparse();
  return 0;
}

void OrderedObjectSet::compactIfSparse() {
  if (slot_of.empty()) {
    slots.clear();
    return;
  }
  if (slots.size() < MIN_COMPACT_SLOTS || slots.size() <= 2 * slot_of.size()) return;
  size_t kept = 0;
  for (Object* p : slots) {
    if (p == nullptr) continue;
    slots[kept] = p;
    slot_of[p] = kept++;
  }
  slots.resize(kept);
}

bool OrderedObjectSet::contains(const Object* p) const { return slot_of.count(p) != 0; }

int OrderedObjectSet::getCount() const { return static_cast<int>(slot_of.size()); }

bool OrderedObjectSet::isEmpty() const { return slot_of.empty(); }

void OrderedObjectSet::clear() {
  slots.clear();
  slot_of.clear();
}

ObjectList OrderedObjectSet::toList() const {
  ObjectList list;
  forEach([&list](Object* p) { list.insert(p); });
  return list;
}

}  // namespace tw
