#include "engine/core/EventStep.h"

namespace tw {

EventStep::EventStep(int init_step_count) : step_count(init_step_count) { setType(STEP_EVENT); }

void EventStep::setStepCount(int new_step_count) { step_count = new_step_count; }

int EventStep::getStepCount() const { return step_count; }

}  // namespace tw
