#include "engine/input/InputManager.h"

#include "engine/core/Config.h"
#include "engine/core/LoopState.h"
#include "engine/core/EventRouting.h"
#include "engine/core/LogManager.h"
#include "engine/display/CellGeometry.h"
#include "engine/display/DisplayManager.h"
#include "engine/display/Presenter.h"
#include "engine/input/InputPolling.h"
#include "engine/input/RecordingWriter.h"
#include "engine/platform/InputCodes.h"

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

RecordedInput keyInput(Keyboard::Key key, KeyboardAction action) {
  RecordedInput input;
  input.kind = RecordedInput::KEY;
  input.code = key;
  input.action = action;
  return input;
}

RecordedInput keystrokeInput(Keyboard::Key key, bool repeat) {
  RecordedInput input;
  input.kind = RecordedInput::KEYSTROKE;
  input.code = key;
  input.action = repeat ? 1 : 0;
  return input;
}

RecordedInput mouseInput(MouseAction action, Mouse::Button button, Vector cells) {
  RecordedInput input;
  input.kind = RecordedInput::MOUSE;
  input.code = button;
  input.action = action;
  input.x = cells.getX();
  input.y = cells.getY();
  return input;
}

}  // namespace

namespace {
Manager& instance() { return InputManager::getInstance(); }
const bool claimed =
    EventRouting::claim(KEYBOARD_EVENT, instance) && EventRouting::claim(MOUSE_EVENT, instance) &&
    EventRouting::claim(KEYSTROKE_EVENT, instance);
}  // namespace

InputManager::InputManager()
    : writer(std::make_unique<RecordingWriter>()), polling(std::make_unique<InputPolling>()) {
  setType("InputManager");
}

InputManager::~InputManager() = default;

InputManager& InputManager::getInstance() {
  static InputManager input_manager;
  return input_manager;
}

bool InputManager::isValid(std::string event_type) const {
  return event_type == KEYBOARD_EVENT || event_type == MOUSE_EVENT ||
         event_type == KEYSTROKE_EVENT;
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
  if (openRecordOrReplay() != 0) return -1;
  *polling = InputPolling();
  Manager::startUp();
  log.writeLog(5, "InputManager::startUp(): successfully started.");
  return 0;
}

int InputManager::openRecordOrReplay() {
  const Config& config = Config::getInstance();
  mode = Mode::LIVE;
  recording.reset();
  replay_frame = 0;
  record_path = config.getRecordFile();
  const std::string replay_path = config.getReplayFile();
  if (!record_path.empty() && !replay_path.empty()) {
    LogManager::getInstance().writeLog(
        "InputManager::startUp(): Error! Cannot record and replay at once.");
    return -1;
  }
  if (!replay_path.empty()) return openReplay(replay_path);
  if (record_path.empty()) return 0;
  return openRecord(record_path);
}

// The file is taken now, so that a path that cannot be written, or a file
// another game is recording into, stops the start rather than the record.
int InputManager::openRecord(const std::string& path) {
  const LogManager& log = LogManager::getInstance();
  std::string why;
  if (writer->open(path, why) != 0) {
    log.writeLog("InputManager::startUp(): Error! Record file refused: %s.", why.c_str());
    return -1;
  }
  recording = std::make_unique<InputRecording>();
  const DisplayManager& dm = DisplayManager::getInstance();
  recording->setGrid(dm.getHorizontalChars(), dm.getVerticalChars());
  mode = Mode::RECORD;
  log.writeLog("InputManager::startUp(): Recording input into '%s'.", path.c_str());
  return 0;
}

int InputManager::openReplay(const std::string& path) {
  const LogManager& log = LogManager::getInstance();
  auto replay = std::make_unique<InputRecording>();
  std::string why;
  if (InputRecording::load(path, *replay, why) != 0) {
    log.writeLog("InputManager::startUp(): Error! Replay file '%s' refused: %s.", path.c_str(),
                 why.c_str());
    return -1;
  }
  const DisplayManager& dm = DisplayManager::getInstance();
  if (replay->getColumns() != dm.getHorizontalChars() ||
      replay->getRows() != dm.getVerticalChars()) {
    log.writeLog(
        "InputManager::startUp(): Error! Replay file '%s' refused: recorded on a %dx%d grid, "
        "this one is %dx%d.",
        path.c_str(), replay->getColumns(), replay->getRows(), dm.getHorizontalChars(),
        dm.getVerticalChars());
    return -1;
  }
  if (replay->isCutShort()) {
    log.writeLog("InputManager::startUp(): Replaying '%s': %d frames (recording ends at step %d, "
                 "cut short).", path.c_str(), replay->getFrameCount(), replay->getFrameCount());
    log.writeNotice("replay '%s': recording ends at step %d, cut short", path.c_str(),
                    replay->getFrameCount());
  } else {
    log.writeLog("InputManager::startUp(): Replaying '%s': %d frames.", path.c_str(),
                 replay->getFrameCount());
  }
  recording = std::move(replay);
  mode = Mode::REPLAY;
  return 0;
}

void InputManager::shutDown() {
  LogManager& log = LogManager::getInstance();
  Presenter* p_presenter = DisplayManager::getInstance().getPresenter();
  if (p_presenter != nullptr) {
    p_presenter->setKeyRepeat(true);
    log.writeLog(2, "InputManager::shutDown(): Keyboard repeat enabled.");
  }
  if (mode == Mode::RECORD) finishRecording();
  // The recording itself stays until the next start: a handler that shut the
  // engine down may be inside a replayed frame's events.
  mode = Mode::LIVE;
  Manager::shutDown();
  log.writeLog(5, "InputManager::shutDown(): successfully stopped.");
}

// A write that fails (a full disk) ends the file there: it stays a
// recording cut short.
void InputManager::writeRecording() {
  std::string why;
  if (writer->update(*recording, why) != 0) {
    LogManager::getInstance().writeLog(
        "InputManager::getInput(): Error! Recording into '%s' stopped at frame %d: %s.",
        record_path.c_str(), recording->getFrameCount() - 1, why.c_str());
    LogManager::getInstance().writeNotice("the recording into '%s' stopped at frame %d: %s",
                                          record_path.c_str(), recording->getFrameCount() - 1,
                                          why.c_str());
  }
}

void InputManager::finishRecording() {
  const LogManager& log = LogManager::getInstance();
  if (!writer->isOpen()) return;
  std::string why;
  if (writer->finish(*recording, why) != 0) {
    log.writeLog("InputManager::shutDown(): Error! Recording not finished: %s.", why.c_str());
    log.writeNotice("the recording into '%s' was not finished: %s", record_path.c_str(),
                    why.c_str());
    return;
  }
  log.writeLog("InputManager::shutDown(): Recorded %d frames into '%s'.",
               recording->getFrameCount(), record_path.c_str());
}

bool InputManager::isRecording() const { return mode == Mode::RECORD; }

bool InputManager::isReplaying() const { return mode == Mode::REPLAY; }

InputRecording* InputManager::getRecording() const { return recording.get(); }

int InputManager::carryValue(const std::string& name, int live_value) {
  const LogManager& log = LogManager::getInstance();
  if (mode == Mode::RECORD && recording->setValue(name, live_value) != 0) {
    log.writeLog("InputManager::carryValue(): Warning! Value '%s' not recorded.", name.c_str());
  }
  if (mode != Mode::REPLAY) return live_value;
  int recorded = live_value;
  if (!recording->getValue(name, recorded)) {
    log.writeLog("InputManager::carryValue(): Warning! The replay holds no value '%s'.",
                 name.c_str());
  }
  return recorded;
}

void InputManager::getInput() {
  polling->beginFrame();
  readFrame();
  polling->endFrame();
}

void InputManager::readFrame() {
  Presenter* p_presenter = DisplayManager::getInstance().getPresenter();
  if (mode == Mode::REPLAY) {
    replayFrame(p_presenter);
    return;
  }
  if (mode == Mode::RECORD) {
    recording->beginFrame();
    writeRecording();
  }
  if (headless()) return;
  if (p_presenter == nullptr) {
    LogManager::getInstance().writeLog(
        "InputManager::getInput(): DisplayManager unexpectedly returned null window!");
    return;
  }
  if (!handleEvents(*p_presenter)) return;
  if (!sendHeldButtons(*p_presenter)) return;
  sendHeldKeys(*p_presenter);
}

bool InputManager::isKeyDown(Keyboard::Key key) const { return polling->isKeyDown(key); }

bool InputManager::wasKeyPressed(Keyboard::Key key) const { return polling->wasKeyPressed(key); }

bool InputManager::wasKeyReleased(Keyboard::Key key) const {
  return polling->wasKeyReleased(key);
}

bool InputManager::isButtonDown(Mouse::Button button) const {
  return polling->isButtonDown(button);
}

bool InputManager::wasButtonClicked(Mouse::Button button) const {
  return polling->wasButtonClicked(button);
}

Vector InputManager::getMousePosition() const { return polling->getMousePosition(); }

// The presenter's own input is dropped, except a request to close.
void InputManager::replayFrame(Presenter* p_presenter) {
  platform::InputEvent event;
  while (p_presenter != nullptr && p_presenter->pollEvent(event)) {
    if (event.type == platform::InputEvent::Type::Closed) {
      closeWindow("InputManager::getInput(): Window closed during the replay. Setting game over.");
      return;
    }
  }
  if (replay_frame >= recording->getFrameCount()) {
    const LogManager& log = LogManager::getInstance();
    if (recording->isCutShort()) {
      log.writeLog("InputManager::getInput(): Replay ended after %d frames: recording ends at step "
                   "%d, cut short.", replay_frame, replay_frame);
    } else {
      log.writeLog("InputManager::getInput(): Replay ended after %d frames.", replay_frame);
    }
    LoopState::getInstance().setGameOver(true);
    return;
  }
  int count = 0;
  const RecordedInput* p_events = recording->getFrame(replay_frame++, count);
  for (int i = 0; i < count; i++) {
    if (!deliver(p_events[i]) || !stillServing(p_presenter)) return;
    // An older recording holds no keystrokes: each press made one.
    const bool press = p_events[i].kind == RecordedInput::KEY && p_events[i].action == KEY_PRESSED;
    if (press && !recording->hasKeystrokes()) {
      deliver(keystrokeInput(static_cast<Keyboard::Key>(p_events[i].code), false));
      if (!stillServing(p_presenter)) return;
    }
  }
}

namespace {
// Input nobody hears: said once while playing, and once in the log.
void noteUnheard(const char* what) {
  const LogManager& log = LogManager::getInstance();
  if (log.writeNotice("%s", what)) log.writeLog("InputManager::getInput(): Warning! %s.", what);
}
}  // namespace

void InputManager::closeWindow(const char* why) {
  LogManager::getInstance().writeLog(1, "%s", why);
  LoopState::getInstance().setGameOver(true);
}

bool InputManager::deliver(const RecordedInput& input) {
  delivered++;
  if (mode == Mode::RECORD && !recording->addEvent(input)) {
    LogManager::getInstance().writeLog(
        "InputManager::getInput(): Warning! Too many events in one frame; not recorded.");
  }
  if (input.kind == RecordedInput::CLOSE) {
    closeWindow("InputManager::getInput(): Window closed. Setting game over.");
    return false;
  }
  polling->apply(input);
  if (input.kind == RecordedInput::KEYSTROKE) {
    EventKeystroke keystroke(static_cast<Keyboard::Key>(input.code), input.action != 0);
    onEvent(&keystroke);
    return true;
  }
  if (input.kind == RecordedInput::KEY) {
    const auto key = static_cast<Keyboard::Key>(input.code);
    const auto action = static_cast<KeyboardAction>(input.action);
    if (key == reserved_key && on_reserved_key != nullptr) {
      if (action == KEY_PRESSED) on_reserved_key();
      return true;
    }
    EventKeyboard keyboard;
    keyboard.setKey(key);
    keyboard.setKeyboardAction(action);
    // A game that moves on keystrokes alone hears the press as its keystroke.
    if (onEvent(&keyboard) == 0 && action == KEY_PRESSED && getListenerCount(KEYSTROKE_EVENT) == 0) {
      noteUnheard("keys are pressed but no object registered for keyboard events");
    }
    return true;
  }
  EventMouse mouse;
  mouse.setMouseAction(static_cast<MouseAction>(input.action));
  mouse.setMouseButton(static_cast<Mouse::Button>(input.code));
  mouse.setMousePosition(Vector(input.x, input.y));
  if (onEvent(&mouse) == 0 && input.action == MOUSE_CLICKED) {
    noteUnheard("the mouse is clicked but no object registered for mouse events");
  }
  return true;
}

void InputManager::setReservedKey(Keyboard::Key key, void (*on_press)()) {
  reserved_key = key;
  on_reserved_key = on_press;
}

// A handler may shut the engine down (a quit key does), which closes the
// presenter: input then stops for this frame rather than touch it again.
bool InputManager::stillServing(const Presenter* p_presenter) const {
  return isStarted() && DisplayManager::getInstance().getPresenter() == p_presenter;
}

// Drains the presenter's queue; false when the user asked to close (game over).
bool InputManager::handleEvents(Presenter& presenter) {
  using Type = platform::InputEvent::Type;
  platform::InputEvent event;
  while (presenter.pollEvent(event)) {
    switch (event.type) {
      case Type::Closed: return deliver(RecordedInput());
      case Type::KeyPressed:
        // An auto-repeat is a keystroke only: the key is already pressed.
        if (!event.repeat) dispatchKey(event, KEY_PRESSED);
        if (stillServing(&presenter)) dispatchKeystroke(event);
        break;
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

void InputManager::dispatchKey(const platform::InputEvent& event, KeyboardAction action) {
  deliver(keyInput(toEventKeyboard(event).getKey(), action));
}

void InputManager::dispatchKeystroke(const platform::InputEvent& event) {
  const Keyboard::Key key = toEngineKey(event.key);
  if (key != Keyboard::KEY_UNDEFINED) deliver(keystrokeInput(key, event.repeat));
}

void InputManager::dispatchMouse(MouseAction action, Mouse::Button button, Vector cells) {
  deliver(mouseInput(action, button, cells));
}

// As with keys, only buttons whose click was delivered are asked about.
bool InputManager::sendHeldButtons(const Presenter& presenter) {
  const platform::MouseButton buttons[] = {platform::MouseButton::Left,
                                           platform::MouseButton::Right,
                                           platform::MouseButton::Middle};
  for (platform::MouseButton button : buttons) {
    if (!polling->isButtonDown(toEngineButton(button)) || !presenter.isButtonDown(button)) continue;
    deliver(mouseInput(MOUSE_HELD, toEngineButton(button), presenter.getMousePosition()));
    if (!stillServing(&presenter)) return false;
  }
  return true;
}

// Only keys whose press was delivered are asked about: a window answers
// each question with a round trip to its display server, which for every
// key in every frame kept a waiting game busy.
void InputManager::sendHeldKeys(const Presenter& presenter) {
  for (Keyboard::Key key : HELD_KEYS) {
    if (!polling->isKeyDown(key) || !presenter.isKeyDown(toPlatformKey(key))) continue;
    deliver(keyInput(key, KEY_HELD));
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
