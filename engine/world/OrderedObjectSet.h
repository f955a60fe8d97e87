// The scene graph's kind of list: distinct object pointers in insertion order, with
// insertion, removal and membership in constant time however long the list grows.
// Copies for callers are plain ObjectLists; the objects themselves are not owned.
#pragma once

#include <cstddef>
#include <unordered_map>
#include <vector>

#include "engine/core/ObjectList.h"

namespace tw {

class Object;

class OrderedObjectSet {
 public:
  // Appends p; -1 for null, for p already here, or when memory runs out.
  int insert(Object* p);
  // Takes p out, keeping the order of the rest; -1 when p is not here.
  int remove(const Object* p);
  bool contains(const Object* p) const;
  int getCount() const;
  bool isEmpty() const;
  void clear();
  // The pointers in order, as a list of the caller's own.
  ObjectList toList() const;
  // Calls visit(Object*) for every pointer, in order. visit must not change this set.
  template <typename Visit>
  void forEach(Visit visit) const {
    for (Object* p : slots) {
      if (p != nullptr) visit(p);
    }
  }

 private:
  // Drops the empty slots once they outnumber the pointers, so a walk costs
  // at most twice the count and removal stays constant on average.
  void compactIfSparse();

  std::vector<Object*> slots;  // insertion order; null where a pointer was removed
  std::unordered_map<const Object*, size_t> slot_of;  // every pointer's slot
};

}  // namespace tw
