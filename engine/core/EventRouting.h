// Which manager keeps the interests in an event type. Each manager claims its
// types when it is made ("tw-keyboard" the input manager, "tw-step" the game
// manager ...), and one manager takes every type nobody claimed, so an object
// can register for any type without knowing the managers above it.
#pragma once

#include <string>

namespace tw {

class Manager;

class EventRouting {
 public:
  static void claim(const std::string& event_type, Manager* p_manager);
  // The manager of every type nobody claimed.
  static void claimTheRest(Manager* p_manager);
  // The manager of the type; null when nobody claimed it and no manager
  // takes the rest.
  static Manager* managerFor(const std::string& event_type);
  // Whether some manager other than p_manager claimed the type.
  static bool claimedByAnother(const std::string& event_type, const Manager* p_manager);
};

}  // namespace tw
