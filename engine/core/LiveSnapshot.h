// The engine's walks over objects that handlers may destroy meanwhile: a
// snapshot of a list's members and a single object's mark, both answering
// whether an entry still lives. Their bodies share the live-object
// registry's insides, in LiveObjects.cpp. The engine's own: not installed,
// not exported.
#pragma once

#include <cstddef>
#include <vector>

#include "engine/core/LiveObjects.h"

namespace tw {

// The members of a list taken at one moment, so that a walk over them (a
// dispatch, a world update) can skip any destroyed by a handler meanwhile.
// Nothing about the members is read while nothing is destroyed: at the first
// destruction during the snapshot's life (all members are still alive and at
// their addresses then) their ids are looked up, and from then on an entry
// lives while its address still holds that id. A walk that destroys nothing
// costs one pointer per entry.
class LiveSnapshot {
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
class LiveMark {
 public:
  LiveMark(const void* address, int id);
  bool stillAlive() const;

 private:
  const void* address;  // not owned
  int id;
  unsigned long destroyed_before;
};

}  // namespace tw
