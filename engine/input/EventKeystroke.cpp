#include "engine/input/EventKeystroke.h"

#include "engine/input/InputManager.h"

namespace tw {

EventKeystroke::EventKeystroke() : EventKeystroke(Keyboard::KEY_UNDEFINED, false) {}

EventKeystroke::EventKeystroke(Keyboard::Key new_key, bool new_repeat)
    : key(new_key), repeat(new_repeat) {
  setType(KEYSTROKE_EVENT);
}

void EventKeystroke::setKey(Keyboard::Key new_key) { key = new_key; }

Keyboard::Key EventKeystroke::getKey() const { return key; }

std::string EventKeystroke::getCharacter() const {
  return InputManager::getInstance().keyToString(key);
}

void EventKeystroke::setRepeat(bool new_repeat) { repeat = new_repeat; }

bool EventKeystroke::isRepeat() const { return repeat; }

}  // namespace tw
