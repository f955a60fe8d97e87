// The entries of one grid cell: each solid object listed there with its world box. The
// first few live inside the cell itself, so a query reaches a typical cell's entries in one
// step; longer lists move to the heap. Which objects belong in a cell is the grid's business.
#pragma once

#include "engine/world/Box.h"

namespace tw {

class Object;

// An object as one cell of the grid lists it: with its world box as the grid
// last saw it, so that a query tests boxes without visiting the objects.
struct SolidBox {
  Object* p_o;  // not owned
  Box box;      // in world coordinates
  bool hard;    // HARD, not SOFT
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
  static const int INLINE_ENTRIES = 8;

  SolidBox* data() { return heap != nullptr ? heap : local; }
  const SolidBox* data() const { return heap != nullptr ? heap : local; }

  // The count first, so that it shares a cache line with the first entries.
  int count = 0;
  int capacity = INLINE_ENTRIES;
  SolidBox* heap = nullptr;  // owned; the entries once there are too many for local
  SolidBox local[INLINE_ENTRIES];
};

}  // namespace tw
