// The input manager: once per frame turns the presenter's queued events and the
// live state of keys and mouse buttons into keyboard and mouse events for the
// objects interested in them. Closing the window ends the game.
#pragma once

#include "engine/core/Manager.h"
#include "engine/input/EventKeyboard.h"
#include "engine/input/EventMouse.h"
#include "engine/display/Presenter.h"
#include "engine/platform/InputCodes.h"

#include <string>

namespace tw {

class InputManager : public Manager {
 public:
  static InputManager& getInstance();

  // Accepts exactly "tw-keyboard" and "tw-mouse".
  bool isValid(std::string event_type) const override;
  ~InputManager() override;
  // Needs the display manager started (unless headless); turns key repeat off.
  int startUp() override;
  void shutDown() override;

  // Dispatches this frame's input: queued window events in arrival order, then
  // held mouse buttons (left, right, middle), then held keys.
  void getInput() const;

  // A keyboard event with the engine key of a key-pressed or key-released
  // window event (KEY_UNDEFINED otherwise); its action is left undefined.
  EventKeyboard toEventKeyboard(const platform::InputEvent& event) const;
  // The key's character (" " for SPACE, "A" for A ...); "" when it has none.
  std::string keyToString(Keyboard::Key key) const;

  // The engine key a window key produces (KEY_UNDEFINED when none does), and
  // the window key an engine key is polled with (Unknown when none).
  static Keyboard::Key toEngineKey(platform::Key code);
  static platform::Key toPlatformKey(Keyboard::Key key);

 private:
  InputManager();
  InputManager(const InputManager&) = delete;
  void operator=(const InputManager&) = delete;
  bool handleEvents(Presenter& presenter) const;
  void dispatchKey(const platform::InputEvent& event, KeyboardAction action) const;
  void dispatchMouse(MouseAction action, Mouse::Button button, Vector cells) const;
  bool sendHeldButtons(const Presenter& presenter) const;
  bool stillServing(const Presenter* p_presenter) const;
  void sendHeldKeys(const Presenter& presenter) const;
};

}  // namespace tw
