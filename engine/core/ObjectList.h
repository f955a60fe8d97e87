// A growable array of non-owned object pointers with value semantics.
// The list never deletes the objects it points to; duplicates are the caller's concern.
#pragma once

#include "engine/platform/Export.h"

namespace tw {

class Object;
class ObjectListIterator;

class TW_API ObjectList {
 public:
  // Allocates nothing until the first insertion.
  ObjectList();
  ObjectList(const ObjectList& other);
  ObjectList& operator=(const ObjectList& other);
  // Takes the other's pointers over, leaving it empty.
  ObjectList(ObjectList&& other) noexcept;
  ObjectList& operator=(ObjectList&& other) noexcept;
  ~ObjectList();

  // Appends p; grows by doubling when full. -1 for null or a failed growth.
  int insert(Object* p);
  // Makes room for at least slots pointers in all, so that as many inserts
  // do not grow the list again; false when memory runs out.
  bool reserve(int slots);
  // Removes the first occurrence of p, keeping the order of the rest. The
  // pointers on the shorter side of it move, so taking away the first or the
  // last pointer moves none.
  int remove(Object* p);
  void clear();
  int getCount() const { return count; }
  bool isEmpty() const { return count == 0; }
  // Throws std::out_of_range("Invalid index!") outside 0..count-1.
  Object* operator[](int index) const {
    if (index < 0 || index >= count) throwInvalidIndex();
    return items[first + index];
  }
  // A copy of this list followed by every non-null pointer of other.
  ObjectList operator+(ObjectList other) const;

 private:
  friend class ObjectListIterator;
  [[noreturn]] static void throwInvalidIndex();
  // Makes room for one more pointer at the end: moves the pointers down
  // when at least half the slots lie unused before them, else doubles.
  bool makeRoom();

  int first;     // slot of the first pointer; slots before it are unused
  int count;     // stored pointers, in slots first .. first + count - 1
  int capacity;  // slots in items
  Object** items;
};

}  // namespace tw
