// An object that records every keyboard and mouse event it receives, with
// the frame it came in: what input tests compare with what was sent.
#pragma once

#include <vector>

#include "engine/input/EventKeyboard.h"
#include "engine/input/EventMouse.h"
#include "engine/world/Object.h"

namespace tw_test {

// One event as an object received it (key -1 for the mouse, button -1 for keys).
struct Received {
  int frame;
  bool keyboard;
  int key, action, button;
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
    } else if (const auto* m = dynamic_cast<const tw::EventMouse*>(p_e)) {
      received.push_back(
          {frame, false, -1, m->getMouseAction(), m->getMouseButton(), m->getMousePosition()});
    }
    return 1;
  }
  // The mouse events received, in order.
  std::vector<Received> mouse() const {
    std::vector<Received> out;
    for (const Received& r : received) {
      if (!r.keyboard) out.push_back(r);
    }
    return out;
  }

  int frame = 0;
  std::vector<Received> received;
};

}  // namespace tw_test
