#include "engine/core/ListenerList.h"

namespace tw {

bool ListenerList::add(Listener* p_o) {
  if (!slot_of.emplace(p_o, slots.size()).second) return false;
  slots.push_back(p_o);
  return true;
}

bool ListenerList::remove(Listener* p_o) {
  const auto it = slot_of.find(p_o);
  if (it == slot_of.end()) return false;
  slots[it->second] = nullptr;
  slot_of.erase(it);
  if (slot_of.empty()) {
    slots.clear();
  } else if (slot_of.size() * 2 < slots.size()) {
    compact();
  }
  return true;
}

bool ListenerList::contains(Listener* p_o) const { return slot_of.count(p_o) != 0; }

bool ListenerList::empty() const { return slot_of.empty(); }

std::vector<Listener*> ListenerList::members() const {
  std::vector<Listener*> listed;
  listed.reserve(slot_of.size());
  for (Listener* p_o : slots) {
    if (p_o != nullptr) listed.push_back(p_o);
  }
  return listed;
}

void ListenerList::compact() {
  std::size_t kept = 0;
  for (Listener* p_o : slots) {
    if (p_o == nullptr) continue;
    slot_of[p_o] = kept;
    slots[kept++] = p_o;
  }
  slots.resize(kept);
}

std::size_t ListenerList::size() const { return slot_of.size(); }

}  // namespace tw
