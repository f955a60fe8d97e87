// Which manager keeps the interests in an event type. Each manager's source
// claims its types as the program starts ("tw-keyboard" the input manager,
// "tw-step" the game manager ...), handing over how to reach its instance;
// the world manager takes every type nobody claimed. An object can so
// register for any type without knowing the managers above it.
#pragma once

#include <string>

namespace tw {

class Manager;

class EventRouting {
 public:
  using Instance = Manager& (*)();
  // Returns true, so that a claim can initialise a constant at program start.
  static bool claim(const std::string& event_type, Instance instance);
  // The manager that claimed the type (made on first use); null when nobody did.
  static Manager* managerFor(const std::string& event_type);
  // Whether a manager other than p_manager claimed the type.
  static bool claimedByAnother(const std::string& event_type, const Manager* p_manager);
};

}  // namespace tw
