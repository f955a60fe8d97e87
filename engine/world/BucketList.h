// The entries of one bucket of the grid: each solid object listed there with its world box.
// The first few live inside the list itself, so a query reaches a typical bucket's entries
// in one step; longer lists move to the heap. Which objects belong in a bucket is the
// grid's business.
#pragma once

#include <cstdint>

#include "engine/world/Box.h"

namespace tw {

class Object;

// An object as one cell of the grid lists it: with its world box as the grid
// last saw it, so that a query tests boxes without visiting the objects.
// Whether it is HARD rides in the address's lowest bit, always clear in an
// object's address, so that an entry takes 24 bytes instead of 32.
class GridEntry {
 public:
  GridEntry() = default;
  GridEntry(Object* p_o, const Box& init_box, bool hard)
      : box(init_box), tagged(reinterpret_cast<std::uintptr_t>(p_o) | (hard ? 1u : 0u)) {}
  Object* object() const { return reinterpret_cast<Object*>(tagged & ~std::uintptr_t{1}); }
  bool isHard() const { return (tagged & 1u) != 0; }
  void setHard(bool hard) { tagged = (tagged & ~std::uintptr_t{1}) | (hard ? 1u : 0u); }
  bool isOf(const Object* p_o) const { return object() == p_o; }

  Box box;  // in world coordinates

 private:
  std::uintptr_t tagged = 0;  // the object, not owned
};

class BucketList {
 public:
  BucketList() = default;
  ~BucketList();
  BucketList(const BucketList&) = delete;
  BucketList& operator=(const BucketList&) = delete;

  // In insertion order.
  GridEntry* begin() { return data(); }
  GridEntry* end() { return data() + count; }
  const GridEntry* begin() const { return data(); }
  const GridEntry* end() const { return data() + count; }
  int size() const { return count; }

  // Appends an entry; false (list unchanged) when memory runs out.
  bool append(const GridEntry& entry);
  // The entry of p_o, or null.
  GridEntry* find(const Object* p_o);
  // Takes p_o's entry out, keeping the order of the others.
  void remove(const Object* p_o);
  void clear();

 private:
  // A typical cell's entries fit, so its list rarely needs the heap (whose
  // entries a prefetch of the list would not fetch).
  static const int INLINE_ENTRIES = 12;

  GridEntry* data() { return heap != nullptr ? heap : local; }
  const GridEntry* data() const { return heap != nullptr ? heap : local; }

  // The count first, so that it shares a cache line with the first entries.
  int count = 0;
  int capacity = INLINE_ENTRIES;
  GridEntry* heap = nullptr;  // owned; the entries once there are too many for local
  GridEntry local[INLINE_ENTRIES];
};

}  // namespace tw
