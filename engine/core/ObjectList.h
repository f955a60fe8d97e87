// A growable array of non-owned object pointers with value semantics.
// The list never deletes the objects it points to; duplicates are the caller's concern.
#pragma once

namespace tw {

class Object;
class ObjectListIterator;

class ObjectList {
 public:
  ObjectList();
  ObjectList(const ObjectList& other);
  ObjectList& operator=(const ObjectList& other);
  ~ObjectList();

  // Appends p; grows by doubling when full. -1 for null or a failed growth.
  int insert(Object* p);
  // Removes the first occurrence of p, keeping the order of the rest.
  int remove(Object* p);
  void clear();
  int getCount() const;
  bool isEmpty() const;
  // Throws std::out_of_range("Invalid index!") outside 0..count-1.
  Object* operator[](int index) const;
  // A copy of this list followed by every non-null pointer of other.
  ObjectList operator+(ObjectList other) const;

 private:
  friend class ObjectListIterator;
  bool grow();

  int count;     // stored pointers
  int capacity;  // slots in items
  Object** items;
};

}  // namespace tw
