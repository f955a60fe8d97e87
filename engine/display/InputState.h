// What the input events a presenter has handed on so far say about the keys,
// the mouse buttons and the pointer: for presenters whose source reports only
// events (a scripted capture, a browser page), not the devices' live state.
#pragma once

#include <array>

#include "engine/platform/InputCodes.h"
#include "engine/world/Vector.h"

namespace tw {

class InputState {
 public:
  // Presses and releases change what is down; pointer events move it.
  void track(const platform::InputEvent& event);
  bool isKeyDown(platform::Key key) const;
  bool isButtonDown(platform::MouseButton button) const;
  Vector getMousePosition() const;  // cells

 private:
  std::array<bool, platform::KEY_COUNT> keys_down{};
  std::array<bool, 5> buttons_down{};  // one per platform::MouseButton
  Vector mouse;
};

}  // namespace tw
