// The base of every engine event: nothing but its type string.
// Concrete events (step, keyboard, collision, ...) derive from it and add a payload.
#pragma once

#include "engine/platform/Export.h"

#include <string>

namespace tw {

const std::string UNDEFINED_EVENT = "tw-undefined";

class TW_API Event {
 public:
  Event();
  virtual ~Event();

  void setType(std::string new_type);
  std::string getType() const;

 private:
  std::string event_type;
};

}  // namespace tw
