// Small objects for the core tests: they record the events they receive and
// can run an action from their handler.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "engine/core/EventStep.h"
#include "engine/world/Object.h"

namespace tw_test {

class RecordingObject : public tw::Object {
 public:
  explicit RecordingObject(std::string name = "Recorder") { setType(name); }

  int eventHandler(const tw::Event* p_e) override {
    received.push_back(p_e->getType());
    if (on_event) on_event(p_e);
    return 1;
  }

  std::vector<std::string> received;
  std::function<void(const tw::Event*)> on_event;
};

}  // namespace tw_test
