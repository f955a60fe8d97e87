// The scene graph's kind of list: distinct object pointers in insertion order, with
// insertion, removal and membership in constant time however long the list grows.
// Copies for callers are plain ObjectLists; the objects themselves are not owned.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "engine/core/ObjectList.h"
#include "engine/world/Object.h"

namespace tw {

// The kinds of list an object can be in, at most one list of each kind at a
// time: its place in that list is kept in the object itself, so that no
// lookup table is needed to find it (Object::LIST_KINDS places).
enum class ListKind : std::uint8_t { ACTIVE = 0, INACTIVE = 1, SOLID = 2, VISIBLE = 3, TYPE = 4 };

class OrderedObjectSet {
  static_assert(static_cast<int>(ListKind::TYPE) + 1 == Object::LIST_KINDS,
                "an object keeps one place per kind of list");

 public:
  explicit OrderedObjectSet(ListKind kind);

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
    for (size_t slot = head; slot < slots.size(); slot++) {
      if (slots[slot] != nullptr) visit(slots[slot]);
    }
  }

 private:
  // The slot p's place names, which holds p only if p is here.
  size_t placeOf(const Object* p) const;
  void setPlace(Object* p, size_t slot) const;
  // Drops the empty slots once they outnumber the pointers, so a walk costs
  // at most twice the count and removal stays constant on average. Empty
  // slots at the front are only stepped over: removing objects in the order
  // they came, as a clearing world does, moves nothing.
  void compactIfSparse();

  ListKind kind;
  std::vector<Object*> slots;  // insertion order; null where a pointer was removed
  size_t head = 0;             // slots before it are all empty
  int count = 0;
};

}  // namespace tw
