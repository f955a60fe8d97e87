#include "engine/loop/Pause.h"

#include "engine/loop/GameManager.h"
#include "engine/core/LogManager.h"
#include "engine/display/DisplayManager.h"
#include "engine/display/Presenter.h"
#include "engine/input/EventKeyboard.h"
#include "engine/input/InputManager.h"
#include "engine/platform/Timer.h"

namespace tw {

namespace {
const int PAUSE_POLL_MICROSECONDS = 30;
}

Pause::Pause(Keyboard::Key key) : pause_key(key) {
  LogManager::getInstance().writeLog(
      "Pause::Pause(): Pause enabled.  Press any other key to resume.");
  setSolidness(SPECTRAL);
  setType("Pause");
  registerInterest(KEYBOARD_EVENT);
}

Pause::~Pause() = default;

int Pause::eventHandler(const Event* p_e) {
  const LogManager& log = LogManager::getInstance();
  log.writeLog(10, "Pause::eventHandler(): Got event");
  if (p_e->getType() != KEYBOARD_EVENT) return 0;
  if (static_cast<const EventKeyboard*>(p_e)->getKey() != pause_key) return 1;
  log.writeLog(1, "Pause::eventHandler(): Game paused.");
  if (DisplayManager::getInstance().getPresenter() == nullptr) {
    log.writeLog(
        "Pause::eventHandler(): DisplayManager unexpectedly returned null window!  Cannot pause.");
    return 0;
  }
  if (!waitForKeyPress()) return 1;
  log.writeLog(1, "Pause::eventHandler(): Game resumed.");
  return 1;
}

bool Pause::waitForKeyPress() {
  const LogManager& log = LogManager::getInstance();
  Presenter* p_presenter = DisplayManager::getInstance().getPresenter();
  bool pressed = false;
  while (!pressed) {
    platform::InputEvent event;
    while (p_presenter->pollEvent(event)) {
      if (event.type == platform::InputEvent::Type::Closed) {
        log.writeLog(1, "Pause::eventHandler(): Window closed. Setting game over.");
        GameManager::getInstance().setGameOver(true);
        return false;
      }
      if (event.type == platform::InputEvent::Type::KeyPressed && !event.repeat) {
        log.writeLog(10, "Pause::eventHandler(): Keypressed.");
        pressed = true;
      }
    }
    // Nobody can press a key in a capture: only what was queued counts. A
    // replay goes on at once too: the recording holds no resuming key.
    if (!p_presenter->isInteractive() || InputManager::getInstance().isReplaying()) break;
    if (!pressed) platform::waitMicroseconds(PAUSE_POLL_MICROSECONDS);
  }
  return true;
}

}  // namespace tw
