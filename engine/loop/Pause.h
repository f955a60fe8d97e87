// An engine object that freezes the whole game loop when its key is pressed:
// its handler returns only when another key press arrives (or the window closes).
#pragma once

#include "engine/platform/Export.h"
#include "engine/input/Keyboard.h"
#include "engine/world/Object.h"

namespace tw {

class TW_API Pause : public Object {
 public:
  explicit Pause(Keyboard::Key key);
  ~Pause() override;
  int eventHandler(const Event* p_e) override;

 private:
  // Waits for a key press while draining the window's events; returns false
  // when the window was closed instead.
  bool waitForKeyPress();

  Keyboard::Key pause_key;
};

}  // namespace tw
