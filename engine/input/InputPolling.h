// What the input manager's delivered events say about the keys, the mouse
// buttons and the pointer, for games that ask rather than listen. Built only
// from the delivered events, so a replay answers exactly as the run did.
#pragma once

#include "engine/input/InputRecording.h"
#include "engine/input/Keyboard.h"
#include "engine/input/Mouse.h"
#include "engine/world/Vector.h"

#include <array>

namespace tw {

class InputPolling {
 public:
  // A new frame of input: what was pressed or released before is forgotten.
  void beginFrame();
  // Takes in one delivered event.
  void apply(const RecordedInput& input);
  // The frame's input is complete: a key or button that was neither pressed
  // nor reported held in it is up (its release was never reported).
  void endFrame();

  bool isKeyDown(Keyboard::Key key) const;
  bool wasKeyPressed(Keyboard::Key key) const;
  bool wasKeyReleased(Keyboard::Key key) const;
  bool isButtonDown(Mouse::Button button) const;
  bool wasButtonClicked(Mouse::Button button) const;
  Vector getMousePosition() const;  // window cells

 private:
  enum Bit : unsigned char { DOWN = 1, PRESSED = 2, RELEASED = 4, SEEN = 8 };
  void applyKey(int key, int action);
  void applyMouse(const RecordedInput& input);
  static bool has(const unsigned char* bits, int count, int index, unsigned char bit);

  std::array<unsigned char, Keyboard::KEY_COUNT> keys{};
  std::array<unsigned char, 3> buttons{};  // left, right, middle
  Vector mouse;
};

}  // namespace tw
