// An object that records every keyboard and mouse event it receives, with
// the frame it came in: what input tests compare with what was sent.
#pragma once

#include "engine/input/EventKeyboard.h"
#include "engine/input/EventMouse.h"
#include "engine/world/Object.h"

#include <vector>

namespace tw_test {

// One event as an object received it, with the frame it came in.
struct Received {
  int frame;
  bool keyboard;
  int key;     // keyboard
  int action;  // keyboard or mouse action
  int button;  // mouse
  tw::Vector position;
};

class Recorder : public tw::Object {
 public:
  Recorder() {
    registerInterest("tw-keyboard");
    registerInterest("tw-mouse");
  }
  int eventHandler(const tw::Event* p_e) override {
    if (const auto* k = dynamic_cast<const tw::EventKeyboard*>(p_e)) {
      received.push_back({frame, true, k->getKey(), k->getKeyboardAction(), -1, tw::Vector()});
      return 1;
    }
    if (const auto* m = dynamic_cast<const tw::EventMouse*>(p_e)) {
      received.push_back(
          {frame, false, -1, m->getMouseAction(), m->getMouseButton(), m->getMousePosition()});
      return 1;
    }
    return 0;
  }
  // The actions received for one key, in order.
  std::vector<int> actionsOf(int key) const {
    std::vector<int> actions;
    for (const Received& r : received) {
      if (r.keyboard && r.key == key) actions.push_back(r.action);
    }
    return actions;
  }
  std::vector<Received> mouse() const {
    std::vector<Received> out;
    for (const Received& r : received) {
      if (!r.keyboard) out.push_back(r);
    }
    return out;
  }
  bool has(int key, int action) const {
    for (const Received& r : received) {
      if (r.keyboard && r.key == key && r.action == action) return true;
    }
    return false;
  }

  int frame = 0;
  std::vector<Received> received;
};

}  // namespace tw_test
