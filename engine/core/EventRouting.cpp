#include "engine/core/EventRouting.h"

#include <map>

namespace tw {

namespace {

std::map<std::string, Manager*>& claims() {
  static std::map<std::string, Manager*> table;
  return table;
}

Manager*& rest() {
  static Manager* p_rest = nullptr;
  return p_rest;
}

}  // namespace

void EventRouting::claim(const std::string& event_type, Manager* p_manager) {
  claims()[event_type] = p_manager;
}

void EventRouting::claimTheRest(Manager* p_manager) { rest() = p_manager; }

Manager* EventRouting::managerFor(const std::string& event_type) {
  auto it = claims().find(event_type);
  return it != claims().end() ? it->second : rest();
}

bool EventRouting::claimedByAnother(const std::string& event_type, const Manager* p_manager) {
  auto it = claims().find(event_type);
  return it != claims().end() && it->second != p_manager;
}

}  // namespace tw
