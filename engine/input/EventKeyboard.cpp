#include "engine/input/EventKeyboard.h"

namespace tw {

EventKeyboard::EventKeyboard()
    : key(Keyboard::KEY_UNDEFINED), keyboard_action(KEY_ACTION_UNDEFINED) {
  setType(KEYBOARD_EVENT);
}

EventKeyboard::~EventKeyboard() = default;

void EventKeyboard::setKey(Keyboard::Key new_key) { key = new_key; }

Keyboard::Key EventKeyboard::getKey() const { return key; }

void EventKeyboard::setKeyboardAction(KeyboardAction new_action) { keyboard_action = new_action; }

KeyboardAction EventKeyboard::getKeyboardAction() const { return keyboard_action; }

}  // namespace tw
