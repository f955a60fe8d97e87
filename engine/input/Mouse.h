// The engine's mouse buttons and the mouse actions events carry; game code
// sees only these, never the window library's buttons.
#pragma once

namespace tw {

namespace Mouse {

enum Button : int {
  MOUSE_BUTTON_UNDEFINED = -1,
  MOUSE_LEFT = 0,
  MOUSE_RIGHT,
  MOUSE_MIDDLE,
};

}  // namespace Mouse

enum MouseAction : int {
  MOUSE_ACTION_UNDEFINED = -1,
  MOUSE_CLICKED = 0,  // a button went down
  MOUSE_HELD,         // a button is down at this frame's poll
  MOUSE_MOVED,
};

}  // namespace tw
