// The listeners of one event type in registration order, with adding,
// finding and removing in constant time (amortised), so that a world of many
// objects registers and clears its listeners in time linear in their number.
#pragma once

#include <cstddef>
#include <unordered_map>
#include <vector>

namespace tw {

class Listener;

class ListenerList {
 public:
  // False (nothing changes) when p_o is listed already.
  bool add(Listener* p_o);
  // False when p_o is not listed.
  bool remove(Listener* p_o);
  bool contains(Listener* p_o) const;
  bool empty() const;
  std::size_t size() const;
  // The listeners, in registration order.
  std::vector<Listener*> members() const;

 private:
  // Gaps left by removals close once they are half the slots.
  void compact();

  std::vector<Listener*> slots;  // null where a listener was removed
  std::unordered_map<Listener*, std::size_t> slot_of;
};

}  // namespace tw
