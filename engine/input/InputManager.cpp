#include "engine/input/InputManager.h"

#include "engine/core/Config.h"
#include "engine/core/GameManager.h"
#include "engine/core/LogManager.h"
#include "engine/display/CellGeometry.h"
#include "engine/display/DisplayManager.h"

namespace tw {

namespace {

using PK = platform::Key;

struct KeyEntry {
  PK code;           // the window key producing it (Unknown: none)
  const char* text;  // keyToString
};

// Indexed by Keyboard::Key, SPACE (0) to BACKQUOTE (76).
const KeyEntry KEY_TABLE[] = {
    {PK::Space, " "}, {PK::Enter, ""}, {PK::Escape, ""}, {PK::Tab, ""},
    {PK::Left, ""}, {PK::Right, ""}, {PK::Up, ""}, {PK::Down, ""}, {PK::Pause, ""},
    {PK::Subtract, "-"}, {PK::Add, "+"}, {PK::Grave, "~"}, {PK::Period, "."},
    {PK::Comma, ","}, {PK::Slash, "/"}, {PK::Equal, "="}, {PK::Backslash, "\\"},
    {PK::Multiply, "*"}, {PK::Apostrophe, "'"}, {PK::Semicolon, ";"},
    {PK::LControl, ""}, {PK::RControl, ""}, {PK::LShift, ""}, {PK::RShift, ""},
    {PK::F1, ""}, {PK::F2, ""}, {PK::F3, ""}, {PK::F4, ""}, {PK::F5, ""}, {PK::F6, ""},
    {PK::F7, ""}, {PK::F8, ""}, {PK::F9, ""}, {PK::F10, ""}, {PK::F11, ""}, {PK::F12, ""},
    {PK::A, "A"}, {PK::B, "B"}, {PK::C, "C"}, {PK::D, "D"}, {PK::E, "E"}, {PK::F, "F"},
    {PK::G, "G"}, {PK::H, "H"}, {PK::I, "I"}, {PK::J, "J"}, {PK::K, "K"}, {PK::L, "L"},
    {PK::M, "M"}, {PK::N, "N"}, {PK::O, "O"}, {PK::P, "P"}, {PK::Q, "Q"}, {PK::R, "R"},
    {PK::S, "S"}, {PK::T, "T"}, {PK::U, "U"}, {PK::V, "V"}, {PK::W, "W"}, {PK::X, "X"},
    {PK::Y, "Y"}, {PK::Z, "Z"},
    {PK::Num1, "1"}, {PK::Num2, "2"}, {PK::Num3, "3"}, {PK::Num4, "4"}, {PK::Num5, "5"},
    {PK::Num6, "6"}, {PK::Num7, "7"}, {PK::Num8, "8"}, {PK::Num9, "9"}, {PK::Num0, "0"},
    {PK::Backspace, ""}, {PK::Unknown, ""}, {PK::LBracket, "["}, {PK::RBracket, "]"},
    {PK::Unknown, "`"},
};
static_assert(sizeof(KEY_TABLE) / sizeof(KEY_TABLE[0]) == Keyboard::KEY_COUNT,
              "one entry per engine key");

// The keys polled for KEY_HELD each frame, in polling order (F11 and F12,
// RESERVED_KEY and BACKQUOTE are not polled).
const Keyboard::Key HELD_KEYS[] = {
    Keyboard::UP_ARROW, Keyboard::DOWN_ARROW, Keyboard::LEFT_ARROW, Keyboard::RIGHT_ARROW,
    Keyboard::SPACE, Keyboard::ENTER, Keyboard::TAB, Keyboard::ESCAPE, Keyboard::PAUSE,
    Keyboard::MINUS, Keyboard::PLUS, Keyboard::TILDE, Keyboard::PERIOD, Keyboard::COMMA,
    Keyboard::SLASH, Keyboard::EQUAL, Keyboard::BACKSLASH, Keyboard::ASTERISK,
    Keyboard::APOSTROPHE, Keyboard::LEFT_BRACKET, Keyboard::RIGHT_BRACKET, Keyboard::SEMICOLON,
    Keyboard::LEFT_CONTROL, Keyboard::RIGHT_CONTROL, Keyboard::LEFT_SHIFT, Keyboard::RIGHT_SHIFT,
    Keyboard::F1, Keyboard::F2, Keyboard::F3, Keyboard::F4, Keyboard::F5, Keyboard::F6,
    Keyboard::F7, Keyboard::F8, Keyboard::F9, Keyboard::F10,
    Keyboard::A, Keyboard::B, Keyboard::C, Keyboard::D, Keyboard::E, Keyboard::F, Keyboard::G,
    Keyboard::H, Keyboard::I, Keyboard::J, Keyboard::K, Keyboard::L, Keyboard::M, Keyboard::N,
    Keyboard::O, Keyboard::P, Keyboard::Q, Keyboard::R, Keyboard::S, Keyboard::T, Keyboard::U,
    Keyboard::V, Keyboard::W, Keyboard::X, Keyboard::Y, Keyboard::Z,
    Keyboard::DIGIT_1, Keyboard::DIGIT_2, Keyboard::DIGIT_3, Keyboard::DIGIT_4,
    Keyboard::DIGIT_5, Keyboard::DIGIT_6, Keyboard::DIGIT_7, Keyboard::DIGIT_8,
    Keyboard::DIGIT_9, Keyboard::DIGIT_0, Keyboard::BACKSPACE,
};
static_assert(sizeof(HELD_KEYS) / sizeof(HELD_KEYS[0]) == 73, "73 keys are polled");

Mouse::Button toEngineButton(platform::MouseButton button) {
  switch (button) {
    case platform::MouseButton::Left: return Mouse::MOUSE_LEFT;
    case platform::MouseButton::Right: return Mouse::MOUSE_RIGHT;
    case platform::MouseButton::Middle: return Mouse::MOUSE_MIDDLE;
    default: return Mouse::MOUSE_BUTTON_UNDEFINED;
  }
}

bool headless() { return Config::getInstance().getHeadless(); }

}  // namespace

InputManager::InputManager() { setType("InputManager"); }

InputManager::~InputManager() = default;

InputManager& InputManager::getInstance() {
  static InputManager input_manager;
  return input_manager;
}

bool InputManager::isValid(std::string event_type) const {
  return event_type == KEYBOARD_EVENT || event_type == MOUSE_EVENT;
}

int InputManager::startUp() {
  LogManager& log = LogManager::getInstance();
  if (isStarted()) {
    log.writeLog("%s::startup(): Warning! %s already started.", getType().c_str(),
                 getType().c_str());
    return -1;
  }
  if (headless()) {
    log.writeLog(1, "InputManager::startUp(): no input in headless mode.");
  } else {
    DisplayManager& dm = DisplayManager::getInstance();
    if (!dm.isStarted()) {
      log.writeLog("InputManager::startUp(): Error! DisplayManager must be started first.");
      return -1;
    }
    if (dm.getPresenter() != nullptr) {
      dm.getPresenter()->setKeyRepeat(false);
      log.writeLog(2, "InputManager::startUp(): Keyboard repeated disabled.");
    } else {
      log.writeLog("InputManager::startUp(): Warning! DisplayManager null. Cannot disable "
                   "keyboard repeat.");
    }
  }
  Manager::startUp();
  log.writeLog(5, "InputManager::startUp(): successfully started.");
  return 0;
}

void InputManager::shutDown() {
  LogManager& log = LogManager::getInstance();
  Presenter* p_presenter = DisplayManager::getInstance().getPresenter();
  if (p_presenter != nullptr) {
    p_presenter->setKeyRepeat(true);
    log.writeLog(2, "InputManager::shutDown(): Keyboard repeat enabled.");
  }
  Manager::shutDown();
  log.writeLog(5, "InputManager::shutDown(): successfully stopped.");
}

void InputManager::getInput() const {
  if (headless()) return;
  Presenter* p_presenter = DisplayManager::getInstance().getPresenter();
  if (p_presenter == nullptr) {
    LogManager::getInstance().writeLog(
        "InputManager::getInput(): DisplayManager unexpectedly returned null window!");
    return;
  }
  if (!handleEvents(*p_presenter)) return;
  if (!sendHeldButtons(*p_presenter)) return;
  sendHeldKeys(*p_presenter);
}

// A handler may shut the engine down (a quit key does), which closes the
// presenter: input then stops for this frame rather than touch it again.
bool InputManager::stillServing(const Presenter* p_presenter) const {
  return isStarted() && DisplayManager::getInstance().getPresenter() == p_presenter;
}

// Drains the presenter's queue; false when the user asked to close (game over).
bool InputManager::handleEvents(Presenter& presenter) const {
  using Type = platform::InputEvent::Type;
  platform::InputEvent event;
  while (presenter.pollEvent(event)) {
    switch (event.type) {
      case Type::Closed:
        LogManager::getInstance().writeLog(
            1, "InputManager::getInput(): Window closed. Setting game over.");
        GameManager::getInstance().setGameOver(true);
        return false;
      case Type::KeyPressed: dispatchKey(event, KEY_PRESSED); break;
      case Type::KeyReleased: dispatchKey(event, KEY_RELEASED); break;
      case Type::MouseMoved:
        dispatchMouse(MOUSE_MOVED, Mouse::MOUSE_BUTTON_UNDEFINED, Vector(event.x, event.y));
        break;
      case Type::MouseButtonPressed:
        dispatchMouse(MOUSE_CLICKED, toEngineButton(event.button), Vector(event.x, event.y));
        break;
      default: break;  // releases of buttons, focus, resize, text ... are dropped
    }
    if (!stillServing(&presenter)) return false;
  }
  return true;
}

void InputManager::dispatchKey(const platform::InputEvent& event, KeyboardAction action) const {
  EventKeyboard keyboard = toEventKeyboard(event);
  keyboard.setKeyboardAction(action);
  onEvent(&keyboard);
}

void InputManager::dispatchMouse(MouseAction action, Mouse::Button button, Vector cells) const {
  EventMouse mouse;
  mouse.setMouseAction(action);
  mouse.setMouseButton(button);
  mouse.setMousePosition(cells);
  onEvent(&mouse);
}

bool InputManager::sendHeldButtons(const Presenter& presenter) const {
  EventMouse mouse;
  mouse.setMouseAction(MOUSE_HELD);
  mouse.setMousePosition(presenter.getMousePosition());
  const platform::MouseButton buttons[] = {platform::MouseButton::Left,
                                           platform::MouseButton::Right,
                                           platform::MouseButton::Middle};
  for (platform::MouseButton button : buttons) {
    if (!presenter.isButtonDown(button)) continue;
    mouse.setMouseButton(toEngineButton(button));
    onEvent(&mouse);
    if (!stillServing(&presenter)) return false;
  }
  return true;
}

void InputManager::sendHeldKeys(const Presenter& presenter) const {
  for (Keyboard::Key key : HELD_KEYS) {
    if (!presenter.isKeyDown(toPlatformKey(key))) continue;
    EventKeyboard keyboard;
    keyboard.setKey(key);
    keyboard.setKeyboardAction(KEY_HELD);
    onEvent(&keyboard);
    if (!stillServing(&presenter)) return;
  }
}

EventKeyboard InputManager::toEventKeyboard(const platform::InputEvent& event) const {
  using Type = platform::InputEvent::Type;
  LogManager& log = LogManager::getInstance();
  EventKeyboard keyboard;
  if (event.type != Type::KeyPressed && event.type != Type::KeyReleased) {
    log.writeLog("toEventKeyboard(): Error! Called with non-keyboard event.");
    return keyboard;
  }
  const Keyboard::Key key = toEngineKey(event.key);
  const std::string description = platform::keyDescription(event.key);
  if (key == Keyboard::KEY_UNDEFINED) {
    log.writeLog(1, "InputManager::toEventKeyboard(): Warning key '%s' not handled.",
                 description.c_str());
  }
  keyboard.setKey(key);
  log.writeLog(15, "InputManager::toEventKeyboard(): Keyboard event '%s' (%s)",
               keyToString(key).c_str(), description.c_str());
  return keyboard;
}

std::string InputManager::keyToString(Keyboard::Key key) const {
  if (key < 0 || key >= Keyboard::KEY_COUNT) return "";
  return KEY_TABLE[key].text;
}

Keyboard::Key InputManager::toEngineKey(platform::Key code) {
  if (code == PK::Unknown) return Keyboard::KEY_UNDEFINED;
  for (int i = 0; i < Keyboard::KEY_COUNT; i++) {
    if (KEY_TABLE[i].code == code) return static_cast<Keyboard::Key>(i);
  }
  return Keyboard::KEY_UNDEFINED;
}

platform::Key InputManager::toPlatformKey(Keyboard::Key key) {
  if (key < 0 || key >= Keyboard::KEY_COUNT) return PK::Unknown;
  return KEY_TABLE[key].code;
}

}  // namespace tw
