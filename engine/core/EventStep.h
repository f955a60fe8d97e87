// The per-frame step event the game loop sends to every object registered
// for "tw-step"; it carries the loop's step count.
#pragma once

#include "engine/platform/Export.h"
#include "engine/core/Event.h"

namespace tw {

const std::string STEP_EVENT = "tw-step";

class TW_API EventStep : public Event {
 public:
  explicit EventStep(int init_step_count = 0);

  void setStepCount(int new_step_count);
  int getStepCount() const;

 private:
  int step_count;
};

}  // namespace tw
