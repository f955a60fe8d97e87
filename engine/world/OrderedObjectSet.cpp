#include "engine/world/OrderedObjectSet.h"

#include <algorithm>
#include <new>

#include "engine/world/Object.h"

namespace tw {

namespace {
// Below this many slots a sparse list is not worth compacting.
const size_t MIN_COMPACT_SLOTS = 32;
}  // namespace

OrderedObjectSet::OrderedObjectSet(ListKind init_kind) : kind(init_kind) {}

size_t OrderedObjectSet::placeOf(const Object* p) const {
  return p->list_place[static_cast<int>(kind)];
}

void OrderedObjectSet::setPlace(Object* p, size_t slot) const {
  p->list_place[static_cast<int>(kind)] = static_cast<std::uint32_t>(slot);
}

// An object's place may be left over from a list it has left, or from
// another list of the same kind: only a slot holding the object counts.
bool OrderedObjectSet::contains(const Object* p) const {
  if (p == nullptr) return false;
  const size_t slot = placeOf(p);
  return slot < slots.size() && slots[slot] == p;
}

int OrderedObjectSet::insert(Object* p) {
  if (p == nullptr || contains(p)) return -1;
  try {
    slots.push_back(p);
  } catch (const std::bad_alloc&) {
    return -1;
  }
  setPlace(p, slots.size() - 1);
  count++;
  return 0;
}

int OrderedObjectSet::remove(const Object* p) {
  if (p == nullptr) return -1;
  size_t slot = placeOf(p);
  if (slot >= slots.size() || slots[slot] != p) {
    // Only an object that was never here, or one that a second set of the
    // same kind moved (a slip of the caller's), gets here: the set is
    // searched, so no pointer is ever left behind for a destroyed object.
    slot = std::find(slots.begin() + static_cast<long>(head), slots.end(), p) - slots.begin();
    if (slot == slots.size()) return -1;
  }
  slots[slot] = nullptr;
  count--;
  compactIfSparse();
  return 0;
}

void OrderedObjectSet::compactIfSparse() {
  if (count == 0) {
    clear();
    return;
  }
  while (slots[head] == nullptr) head++;
  const size_t used = slots.size() - head;
  if (used < MIN_COMPACT_SLOTS || used <= 2 * static_cast<size_t>(count)) return;
  size_t kept = 0;
  for (size_t slot = head; slot < slots.size(); slot++) {
    Object* p = slots[slot];
    if (p == nullptr) continue;
    slots[kept] = p;
    setPlace(p, kept++);
  }
  slots.resize(kept);
  head = 0;
}

int OrderedObjectSet::getCount() const { return count; }

bool OrderedObjectSet::isEmpty() const { return count == 0; }

void OrderedObjectSet::clear() {
  slots.clear();
  head = 0;
  count = 0;
}

ObjectList OrderedObjectSet::toList() const {
  ObjectList list;
  list.reserve(count);
  forEach([&list](Object* p) { list.insert(p); });
  return list;
}

}  // namespace tw
