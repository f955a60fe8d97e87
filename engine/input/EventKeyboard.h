// The keyboard event ("tw-keyboard"): which engine key and what happened to it
// (pressed, released, or held at this frame's poll).
#pragma once

#include "engine/platform/Export.h"
#include "engine/core/Event.h"
#include "engine/input/Keyboard.h"

#include <string>

namespace tw {

const std::string KEYBOARD_EVENT = "tw-keyboard";

class TW_API EventKeyboard : public Event {
 public:
  EventKeyboard();
  ~EventKeyboard() override;

  virtual void setKey(Keyboard::Key new_key);
  virtual Keyboard::Key getKey() const;
  virtual void setKeyboardAction(KeyboardAction new_action);
  virtual KeyboardAction getKeyboardAction() const;

 private:
  Keyboard::Key key;
  KeyboardAction keyboard_action;
};

}  // namespace tw
