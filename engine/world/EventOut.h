// The event the world hands to an object on the move that takes its box
// wholly out of the world's boundary. It carries nothing but its type.
#pragma once

#include "engine/platform/Export.h"
#include "engine/core/Event.h"

namespace tw {

const std::string OUT_EVENT = "tw-out";

class TW_API EventOut : public Event {
 public:
  EventOut();
};

}  // namespace tw
