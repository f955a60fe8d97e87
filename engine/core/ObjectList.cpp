#include "engine/core/ObjectList.h"

#include <cstdlib>
#include <cstring>
#include <stdexcept>

namespace tw {

namespace {
Object** allocateSlots(int slots) {
  return static_cast<Object**>(std::malloc(sizeof(Object*) * static_cast<size_t>(slots)));
}

void moveSlots(Object** to, Object** from, int slots) {
  std::memmove(to, from, sizeof(Object*) * static_cast<size_t>(slots));
}
}  // namespace

ObjectList::ObjectList() : first(0), count(0), capacity(0), items(nullptr) {}

ObjectList::ObjectList(const ObjectList& other) : first(0), count(0), capacity(0), items(nullptr) {
  *this = other;
}

// The copy holds only the other's pointers, packed at its start.
ObjectList& ObjectList::operator=(const ObjectList& other) {
  if (this == &other) return *this;
  if (other.count > capacity) {
    std::free(items);
    items = allocateSlots(other.count);
    capacity = items == nullptr ? 0 : other.count;
  }
  first = 0;
  count = 0;
  if (items == nullptr || other.count == 0) return *this;
  moveSlots(items, other.items + other.first, other.count);
  count = other.count;
  return *this;
}

ObjectList::ObjectList(ObjectList&& other) noexcept
    : first(other.first), count(other.count), capacity(other.capacity), items(other.items) {
  other.first = 0;
  other.count = 0;
  other.capacity = 0;
  other.items = nullptr;
}

ObjectList& ObjectList::operator=(ObjectList&& other) noexcept {
  if (this == &other) return *this;
  std::free(items);
  first = other.first;
  count = other.count;
  capacity = other.capacity;
  items = other.items;
  other.first = 0;
  other.count = 0;
  other.capacity = 0;
  other.items = nullptr;
  return *this;
}

ObjectList::~ObjectList() { std::free(items); }

bool ObjectList::makeRoom() {
  if (first > 0 && first * 2 >= capacity) {
    moveSlots(items, items + first, count);
    first = 0;
    return true;
  }
  const int new_capacity = capacity > 0 ? capacity * 2 : 1;
  auto* grown = static_cast<Object**>(
      std::realloc(items, sizeof(Object*) * static_cast<size_t>(new_capacity)));
  if (grown == nullptr) return false;
  items = grown;
  capacity = new_capacity;
  return true;
}

bool ObjectList::reserve(int slots) {
  if (slots <= capacity - first) return true;
  if (first > 0) {
    moveSlots(items, items + first, count);
    first = 0;
    if (slots <= capacity) return true;
  }
  auto* grown = static_cast<Object**>(std::realloc(items, sizeof(Object*) * static_cast<size_t>(slots)));
  if (grown == nullptr) return false;
  items = grown;
  capacity = slots;
  return true;
}

int ObjectList::insert(Object* p) {
  if (p == nullptr) return -1;
  if (first + count == capacity && !makeRoom()) return -1;
  items[first + count++] = p;
  return 0;
}

int ObjectList::remove(Object* p) {
  Object** live = items + first;
  for (int i = 0; i < count; i++) {
    if (live[i] != p) continue;
    if (i < count / 2) {
      moveSlots(live + 1, live, i);
      first++;
    } else {
      moveSlots(live + i, live + i + 1, count - i - 1);
    }
    if (--count == 0) first = 0;
    return 0;
  }
  return -1;
}

void ObjectList::clear() {
  first = 0;
  count = 0;
}

void ObjectList::throwInvalidIndex() { throw std::out_of_range("Invalid index!"); }

ObjectList ObjectList::operator+(ObjectList other) const {
  ObjectList result(*this);
  for (int i = 0; i < other.count; i++) {
    Object* p = other.items[other.first + i];
    if (p != nullptr) result.insert(p);
  }
  return result;
}

}  // namespace tw
