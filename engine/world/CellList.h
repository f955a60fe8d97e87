// The entries of one grid cell: each solid object listed there with its world box. The
// first few live inside the cell itself, so a query reaches a typical cell's entries in one
// step; longer lists move to the heap. Which objects belong in a cell is the grid's business.
#pragma once

#include <cstdint>

#include "engine/world/Box.h"

namespace tw {

class Object;

// An object as one cell of the grid lists it: with its world box as the grid
// last saw it, so that a query tests boxes without visiting the objects.
// Whether it is HARD rides in the address's lowest bit, always clear in an
// object's address, so that an entry takes 24 bytes instead of 32.
class SolidBox {
 public:
  SolidBox() = default;
  SolidBox(Object* p_o, const Box& init_box, bool hard)
      : box(init_box), tagged(reinterpret_cast<std::uintptr_t>(p_o) | (hard ? 1u : 0u)) {}
  Object* object() const { return reinterpret_cast<Object*>(tagged & ~std::uintptr_t{1}); }
  bool isHard() const { return (tagged & 1u) != 0; }
  void setHard(bool hard) { tagged = (tagged & ~std::uintptr_t{1}) | (hard ? 1u : 0u); }
  bool isOf(const Object* p_o) const { return object() == p_o; }

  Box box;  // in world coordinates

 private:
  std::uintptr_t tagged = 0;  // the object, not owned
};

class CellList {
 public:
  CellList() = default;
  ~CellList();
  CellList(const CellList&) = delete;
  CellList& operator=(const CellList&) = delete;

  // In insertion order.
  SolidBox* begin() { return data(); }
  SolidBox* end() { return data() + count; }
  const SolidBox* begin() const { return data(); }
  const SolidBox* end() const { return data() + count; }
  int size() const { return count; }

  // Appends an entry; false (list unchanged) when memory runs out.
  bool append(const SolidBox& entry);
  // The entry of p_o, or null.
  SolidBox* find(const Object* p_o);
  // Takes p_o's entry out, keeping the order of the others.
  void remove(const Object* p_o);
  void clear();

 private:
  // A typical cell's entries fit, so its list rarely needs the heap (whose
  // entries a prefetch of the list would not fetch).
  static const int INLINE_ENTRIES = 12;

  SolidBox* data() { return heap != nullptr ? heap : local; }
  const SolidBox* data() const { return heap != nullptr ? heap : local; }

  // The count first, so that it shares a cache line with the first entries.
  int count = 0;
  int capacity = INLINE_ENTRIES;
  SolidBox* heap = nullptr;  // owned; the entries once there are too many for local
  SolidBox local[INLINE_ENTRIES];
};

}  // namespace tw
