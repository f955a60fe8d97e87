// The mouse event ("tw-mouse"): action, button and the pointer position in
// window cells (view coordinates, relative to the window's top-left cell).
#pragma once

#include "engine/platform/Export.h"
#include "engine/core/Event.h"
#include "engine/input/Mouse.h"
#include "engine/world/Vector.h"

#include <string>

namespace tw {

const std::string MOUSE_EVENT = "tw-mouse";

class TW_API EventMouse : public Event {
 public:
  EventMouse();
  ~EventMouse() override;

  void setMouseAction(MouseAction new_action);
  MouseAction getMouseAction() const;
  void setMouseButton(Mouse::Button new_button);
  Mouse::Button getMouseButton() const;
  void setMousePosition(Vector new_position);
  Vector getMousePosition() const;

 private:
  MouseAction mouse_action;
  Mouse::Button mouse_button;
  Vector mouse_xy;
};

}  // namespace tw
