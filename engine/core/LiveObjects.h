// The registry of live objects (address plus id) and the checked handle that
// engine and game code hold instead of a bare pointer to something that may
// be destroyed: a handle to a destroyed object, or to a new object at the
// same address, answers null.
#pragma once

#include "engine/platform/Export.h"

#include <utility>

namespace tw {

class LiveSnapshot;

class TW_API LiveObjects {
 public:
  static bool isAlive(const void* address, int id);
  static bool isAlive(const void* address);
  // \cond INTERNAL
  // The engine's own, not for games (left out of the API reference; may
  // change in any release):
  // Called by objects as they are made (or get a new id) and destroyed.
  static void add(const void* address, int id);
  static void remove(const void* address);
  // Objects destroyed so far: a walk over objects only needs to check its
  // entries again once this has changed.
  static unsigned long getDestructionCount();
  // \endcond

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

}  // namespace tw
