#include "engine/core/EventRouting.h"

#include <map>

namespace tw {

namespace {

std::map<std::string, EventRouting::Instance>& claims() {
  static std::map<std::string, EventRouting::Instance> table;
  return table;
}

}  // namespace

bool EventRouting::claim(const std::string& event_type, Instance instance) {
  claims()[event_type] = instance;
  return true;
}

Manager* EventRouting::managerFor(const std::string& event_type) {
  auto it = claims().find(event_type);
  return it != claims().end() ? &it->second() : nullptr;
}

bool EventRouting::claimedByAnother(const std::string& event_type, const Manager* p_manager) {
  auto it = claims().find(event_type);
  return it != claims().end() && &it->second() != p_manager;
}

}  // namespace tw
