#include "engine/world/BucketList.h"

#include <algorithm>
#include <new>

namespace tw {

BucketList::~BucketList() { delete[] heap; }

bool BucketList::append(const GridEntry& entry) {
  if (count == capacity) {
    const int grown = capacity * 2;
    auto* p_grown = new (std::nothrow) GridEntry[static_cast<size_t>(grown)];
    if (p_grown == nullptr) return false;
    std::copy(begin(), end(), p_grown);
    delete[] heap;
    heap = p_grown;
    capacity = grown;
  }
  data()[count++] = entry;
  return true;
}

GridEntry* BucketList::find(const Object* p_o) {
  for (GridEntry& entry : *this) {
    if (entry.isOf(p_o)) return &entry;
  }
  return nullptr;
}

void BucketList::remove(const Object* p_o) {
  GridEntry* p_entry = find(p_o);
  if (p_entry == nullptr) return;
  std::copy(p_entry + 1, end(), p_entry);
  count--;
  // Entries that fit inside the list again move back, so that a query finds
  // them beside the count (and a prefetch of the list fetches them) instead
  // of behind a pointer. Only at half the inline room, so that a cell whose
  // count hovers at the limit does not move them to and fro.
  if (heap != nullptr && count <= INLINE_ENTRIES / 2) {
    std::copy(heap, heap + count, local);
    delete[] heap;
    heap = nullptr;
    capacity = INLINE_ENTRIES;
  }
}

void BucketList::clear() {
  delete[] heap;
  heap = nullptr;
  count = 0;
  capacity = INLINE_ENTRIES;
}

}  // namespace tw
