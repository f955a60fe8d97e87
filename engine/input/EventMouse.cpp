#include "engine/input/EventMouse.h"

namespace tw {

EventMouse::EventMouse()
    : mouse_action(MOUSE_ACTION_UNDEFINED), mouse_button(Mouse::MOUSE_BUTTON_UNDEFINED) {
  setType(MOUSE_EVENT);
}

EventMouse::~EventMouse() = default;

void EventMouse::setMouseAction(MouseAction new_action) { mouse_action = new_action; }

MouseAction EventMouse::getMouseAction() const { return mouse_action; }

void EventMouse::setMouseButton(Mouse::Button new_button) { mouse_button = new_button; }

Mouse::Button EventMouse::getMouseButton() const { return mouse_button; }

void EventMouse::setMousePosition(Vector new_position) { mouse_xy = new_position; }

Vector EventMouse::getMousePosition() const { return mouse_xy; }

}  // namespace tw
