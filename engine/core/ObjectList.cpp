#include "engine/core/ObjectList.h"

#include <cstdlib>
#include <cstring>
#include <stdexcept>

namespace tw {

namespace {
Object** allocateSlots(int slots) {
  return static_cast<Object**>(std::calloc(static_cast<size_t>(slots), sizeof(Object*)));
}
}  // namespace

ObjectList::ObjectList() : count(0), capacity(1), items(allocateSlots(1)) {
  if (items == nullptr) capacity = 0;
}

ObjectList::ObjectList(const ObjectList& other) : count(0), capacity(0), items(nullptr) {
  *this = other;
}

ObjectList& ObjectList::operator=(const ObjectList& other) {
  if (this == &other) return *this;
  std::free(items);
  items = other.capacity > 0 ? allocateSlots(other.capacity) : nullptr;
  if (items == nullptr) {
    count = 0;
    capacity = 0;
    return *this;
  }
  std::memcpy(items, other.items, sizeof(Object*) * static_cast<size_t>(other.capacity));
  count = other.count;
  capacity = other.capacity;
  return *this;
}

ObjectList::~ObjectList() { std::free(items); }

bool ObjectList::grow() {
  int new_capacity = capacity > 0 ? capacity * 2 : 1;
  auto* grown = static_cast<Object**>(
      std::realloc(items, sizeof(Object*) * static_cast<size_t>(new_capacity)));
  if (grown == nullptr) return false;
  items = grown;
  capacity = new_capacity;
  return true;
}

int ObjectList::insert(Object* p) {
  if (p == nullptr) return -1;
  if (count == capacity && !grow()) return -1;
  items[count++] = p;
  return 0;
}

int ObjectList::remove(Object* p) {
  for (int i = 0; i < count; i++) {
    if (items[i] != p) continue;
    std::memmove(&items[i], &items[i + 1], sizeof(Object*) * static_cast<size_t>(count - i - 1));
    count--;
    return 0;
  }
  return -1;
}

void ObjectList::clear() { count = 0; }

int ObjectList::getCount() const { return count; }

bool ObjectList::isEmpty() const { return count == 0; }

Object* ObjectList::operator[](int index) const {
  if (index < 0 || index >= count) throw std::out_of_range("Invalid index!");
  return items[index];
}

ObjectList ObjectList::operator+(ObjectList other) const {
  ObjectList result(*this);
  for (int i = 0; i < other.count; i++) {
    if (other.items[i] != nullptr) result.insert(other.items[i]);
  }
  return result;
}

}  // namespace tw
