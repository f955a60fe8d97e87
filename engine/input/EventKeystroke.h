// The keystroke event ("tw-keystroke"): one per key the user strikes, auto-
// repeats included, the same in every presenter. What turn-based games move
// on; the keyboard event's pressed, held and released stay as they were.
#pragma once

#include "engine/platform/Export.h"
#include "engine/core/Event.h"
#include "engine/input/Keyboard.h"

#include <string>

namespace tw {

const std::string KEYSTROKE_EVENT = "tw-keystroke";

class TW_API EventKeystroke : public Event {
 public:
  EventKeystroke();
  EventKeystroke(Keyboard::Key new_key, bool new_repeat);

  void setKey(Keyboard::Key new_key);
  Keyboard::Key getKey() const;
  // The character the key types ("A" for A, " " for SPACE, "7" for DIGIT_7),
  // "" for a key that types none (arrows, F1 ...).
  std::string getCharacter() const;
  // True for a keystroke the keyboard's auto-repeat made while the key was held.
  void setRepeat(bool new_repeat);
  bool isRepeat() const;

 private:
  Keyboard::Key key;
  bool repeat;
};

}  // namespace tw
