#include "engine/display/InputState.h"

namespace tw {

void InputState::track(const platform::InputEvent& event) {
  using Type = platform::InputEvent::Type;
  const int key = static_cast<int>(event.key);
  const int button = static_cast<int>(event.button);
  switch (event.type) {
    case Type::KeyPressed:
    case Type::KeyReleased:
      if (key >= 0 && key < platform::KEY_COUNT) {
        keys_down[static_cast<std::size_t>(key)] = event.type == Type::KeyPressed;
      }
      break;
    case Type::MouseButtonPressed:
    case Type::MouseButtonReleased:
      if (button >= 0 && button < static_cast<int>(buttons_down.size())) {
        buttons_down[static_cast<std::size_t>(button)] = event.type == Type::MouseButtonPressed;
      }
      mouse = Vector(event.x, event.y);
      break;
    case Type::MouseMoved:
      mouse = Vector(event.x, event.y);
      break;
    default:
      break;
  }
}

bool InputState::isKeyDown(platform::Key key) const {
  const int code = static_cast<int>(key);
  return code >= 0 && code < platform::KEY_COUNT && keys_down[static_cast<std::size_t>(code)];
}

bool InputState::isButtonDown(platform::MouseButton button) const {
  const int code = static_cast<int>(button);
  return code >= 0 && code < static_cast<int>(buttons_down.size()) &&
         buttons_down[static_cast<std::size_t>(code)];
}

Vector InputState::getMousePosition() const { return mouse; }

}  // namespace tw
