// The registry of live objects (address plus id) and the checked handle that
// engine and game code hold instead of a bare pointer to something that may
// be destroyed: a handle to a destroyed object, or to a new object at the
// same address, answers null.
#pragma once

#include "engine/platform/Export.h"

#include <cstddef>
#include <utility>
#include <vector>

namespace tw {

class LiveSnapshot;

class TW_API LiveObjects {
 public:
  // Called by objects as they are made (or get a new id) and destroyed.
  static void add(const void* address, int id);
  static void remove(const void* address);
  static bool isAlive(const void* address, int id);
  static bool isAlive(const void* address);
  // Objects destroyed so far: a walk over objects only needs to check its
  // entries again once this has changed.
  static unsigned long getDestructionCount();

 private:
  friend class LiveSnapshot;
  static void open(LiveSnapshot* p_snapshot);
  static void close(LiveSnapshot* p_snapshot);
  static bool lookUp(const void* address, int& id);
};

// A checked reference to an object of type T (anything with getId()).
template <typename T>
class Handle {
 public:
  Handle() = default;
  Handle(T* p_object) : address(p_object), id(p_object != nullptr ? p_object->getId() : 0) {}

  // The object while it lives, else null.
  T* get() const { return isAlive() ? address : nullptr; }
  bool isAlive() const { return address != nullptr && LiveObjects::isAlive(address, id); }
  int getId() const { return id; }

 private:
  T* address = nullptr;  // not owned
  int id = 0;
};

// The members of a list taken at one moment, so that a walk over them (a
// dispatch, a world update) can skip any destroyed by a handler meanwhile.
// Nothing about the members is read while nothing is destroyed: at the first
// destruction during the snapshot's life (all members are still alive and at
// their addresses then) their ids are looked up, and from then on an entry
// lives while its address still holds that id. A walk that destroys nothing
// costs one pointer per entry.
class TW_API LiveSnapshot {
 public:
  LiveSnapshot();
  ~LiveSnapshot();
  LiveSnapshot(const LiveSnapshot&) = delete;
  LiveSnapshot& operator=(const LiveSnapshot&) = delete;

  void reserve(std::size_t count);
  void add(const void* address);
  // Whether entry i (in the order added) still lives.
  bool stillAlive(std::size_t i) const;
  // The walk is about to destroy entry i itself: that alone is no reason to
  // look the others up.
  void destroying(std::size_t i);

 private:
  friend class LiveObjects;
  // Called as an object is destroyed, before the registry forgets it.
  void noticeDestruction(const void* address);

  struct Seen {
    int id;
    bool found;
  };
  std::vector<const void*> addresses;
  std::vector<Seen> seen;  // empty until the first destruction
  bool looked_up = false;
  const void* p_expected = nullptr;  // the entry the walk is destroying itself
};

// One object's liveness, the same way: no lookup while nothing was destroyed.
class TW_API LiveMark {
 public:
  LiveMark(const void* address, int id);
  bool stillAlive() const;

 private:
  const void* address;  // not owned
  int id;
  unsigned long destroyed_before;
};

}  // namespace tw
