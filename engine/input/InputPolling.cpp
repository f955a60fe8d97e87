#include "engine/input/InputPolling.h"

namespace tw {

void InputPolling::beginFrame() {
  for (unsigned char& k : keys) k &= DOWN;
  for (unsigned char& b : buttons) b &= DOWN;
}

void InputPolling::apply(const RecordedInput& input) {
  if (input.kind == RecordedInput::KEY) applyKey(input.code, input.action);
  if (input.kind == RecordedInput::MOUSE) applyMouse(input);
}

void InputPolling::applyKey(int key, int action) {
  if (key < 0 || key >= Keyboard::KEY_COUNT) return;
  unsigned char& bits = keys[static_cast<std::size_t>(key)];
  switch (action) {
    case KEY_PRESSED: bits |= DOWN | PRESSED | SEEN; break;
    case KEY_HELD: bits |= DOWN | SEEN; break;
    case KEY_RELEASED:
      bits = static_cast<unsigned char>((bits & ~(DOWN | SEEN)) | RELEASED);
      break;
    default: break;
  }
}

void InputPolling::applyMouse(const RecordedInput& input) {
  mouse = Vector(input.x, input.y);
  if (input.code < 0 || input.code >= static_cast<int>(buttons.size())) return;
  unsigned char& bits = buttons[static_cast<std::size_t>(input.code)];
  if (input.action == MOUSE_CLICKED) bits |= DOWN | PRESSED | SEEN;
  if (input.action == MOUSE_HELD) bits |= DOWN | SEEN;
}

void InputPolling::endFrame() {
  for (unsigned char& k : keys) {
    if ((k & SEEN) == 0) k &= static_cast<unsigned char>(~DOWN);
  }
  for (unsigned char& b : buttons) {
    if ((b & SEEN) == 0) b &= static_cast<unsigned char>(~DOWN);
  }
}

bool InputPolling::has(const unsigned char* bits, int count, int index, unsigned char bit) {
  return index >= 0 && index < count && (bits[index] & bit) != 0;
}

bool InputPolling::isKeyDown(Keyboard::Key key) const {
  return has(keys.data(), Keyboard::KEY_COUNT, key, DOWN);
}

bool InputPolling::wasKeyPressed(Keyboard::Key key) const {
  return has(keys.data(), Keyboard::KEY_COUNT, key, PRESSED);
}

bool InputPolling::wasKeyReleased(Keyboard::Key key) const {
  return has(keys.data(), Keyboard::KEY_COUNT, key, RELEASED);
}

bool InputPolling::isButtonDown(Mouse::Button button) const {
  return has(buttons.data(), static_cast<int>(buttons.size()), button, DOWN);
}

bool InputPolling::wasButtonClicked(Mouse::Button button) const {
  return has(buttons.data(), static_cast<int>(buttons.size()), button, PRESSED);
}

Vector InputPolling::getMousePosition() const { return mouse; }

}  // namespace tw
