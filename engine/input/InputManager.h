// The input manager: once per frame turns the presenter's queued events and the
// live state of keys and mouse buttons into keyboard, keystroke and mouse
// events for the objects interested in them, and answers what they said to
// games that poll (isKeyDown ...). Closing the window ends the game. It also
// records what it delivers into a file as the game runs, or replays a file
// in place of the presenter's input (settings record_file and replay_file).
#pragma once

#include "engine/platform/Export.h"
#include "engine/core/Manager.h"
#include "engine/input/EventKeyboard.h"
#include "engine/input/EventKeystroke.h"
#include "engine/input/EventMouse.h"
#include "engine/input/InputRecording.h"

#include <memory>
#include <string>

namespace tw {

class InputPolling;
class Presenter;
class RecordingWriter;
// The neutral input vocabulary of the engine's platform layer (not installed).
namespace platform {
enum class Key;
struct InputEvent;
}  // namespace platform

class TW_API InputManager : public Manager {
 public:
  static InputManager& getInstance();

  // Accepts exactly "tw-keyboard", "tw-keystroke" and "tw-mouse".
  bool isValid(std::string event_type) const override;
  ~InputManager() override;
  // Needs the display manager started (unless headless); turns key repeat off.
  // Opens the replay file when one is set, refusing (-1, logged) one that is
  // unreadable, broken or made on another grid size; one cut short is
  // replayed up to its last whole frame. Takes the record file when one is
  // set, refusing one that cannot be written or that another running game
  // is recording into.
  int startUp() override;
  // Finishes the recording's file, when one is made.
  void shutDown() override;

  // Dispatches this frame's input: queued window events in arrival order (a
  // key press is followed by its keystroke; an auto-repeat makes a keystroke
  // alone), then held mouse buttons (left, right, middle), then held keys. During a replay
  // the recorded frame's events instead (and game over after the last one);
  // the presenter is then only asked whether the window was closed. While
  // recording, the frames before this one go to the file now and then.
  void getInput();

  // The input of the latest frame, as its events told it (so the same in
  // every presenter and in a replay). A key is down from its press to its
  // release; pressed and released say whether that happened in the frame
  // (a key tapped within one frame was pressed and released, and is up).
  // A step handler, which runs before the frame's input, sees the frame
  // before. Buttons are down while clicked or reported held.
  bool isKeyDown(Keyboard::Key key) const;
  bool wasKeyPressed(Keyboard::Key key) const;
  bool wasKeyReleased(Keyboard::Key key) const;
  bool isButtonDown(Mouse::Button button) const;
  bool wasButtonClicked(Mouse::Button button) const;
  Vector getMousePosition() const;  // window cells, as of the last mouse event

  // Events delivered so far (live or replayed): a frame that delivered
  // none changed nothing through input.
  long getDeliveredCount() const { return delivered; }

  bool isRecording() const;
  bool isReplaying() const;
  // The recording being made or replayed; null when there is none.
  InputRecording* getRecording() const;
  // A value the game read from outside the program (a saved best score):
  // kept in a recording; during a replay the recorded value is returned in
  // its place (live_value when the recording has none).
  int carryValue(const std::string& name, int live_value);

  // \cond INTERNAL
  // The engine's own, not for games (left out of the API reference; may
  // change in any release):
  // A keyboard event with the engine key of a key-pressed or key-released
  // window event (KEY_UNDEFINED otherwise); its action is left undefined.
  EventKeyboard toEventKeyboard(const platform::InputEvent& event) const;
  // \endcond
  // The key's character (" " for SPACE, "A" for A ...); "" when it has none.
  std::string keyToString(Keyboard::Key key) const;

  // \cond INTERNAL
  // The engine's own, not for games (left out of the API reference; may
  // change in any release):
  // A key kept from the game: its press calls on_press instead of reaching
  // any object (the debug overlay's toggle). KEY_UNDEFINED or a null
  // on_press for none.
  void setReservedKey(Keyboard::Key key, void (*on_press)());

  // The engine key a window key produces (KEY_UNDEFINED when none does), and
  // the window key an engine key is polled with (Unknown when none).
  static Keyboard::Key toEngineKey(platform::Key code);
  static platform::Key toPlatformKey(Keyboard::Key key);
  // \endcond

 private:
  InputManager();
  InputManager(const InputManager&) = delete;
  void operator=(const InputManager&) = delete;
  int openRecordOrReplay();
  int openReplay(const std::string& path);
  int openRecord(const std::string& path);
  void writeRecording();
  void finishRecording();
  void readFrame();
  bool handleEvents(Presenter& presenter);
  void replayFrame(Presenter* p_presenter);
  void closeWindow(const char* why);
  // Records the event (when recording) and hands it to its listeners; false
  // for a close (game over), after which nothing more is delivered.
  bool deliver(const RecordedInput& input);
  void dispatchKey(const platform::InputEvent& event, KeyboardAction action);
  void dispatchKeystroke(const platform::InputEvent& event);
  void dispatchMouse(MouseAction action, Mouse::Button button, Vector cells);
  bool sendHeldButtons(const Presenter& presenter);
  bool stillServing(const Presenter* p_presenter) const;
  void sendHeldKeys(const Presenter& presenter);

  enum class Mode { LIVE, RECORD, REPLAY };
  Mode mode = Mode::LIVE;
  std::unique_ptr<InputRecording> recording;  // made or replayed
  std::unique_ptr<RecordingWriter> writer;    // the file of a recording being made
  std::unique_ptr<InputPolling> polling;      // what the delivered events said
  std::string record_path;
  int replay_frame = 0;  // the next recorded frame to replay
  long delivered = 0;
  Keyboard::Key reserved_key = Keyboard::KEY_UNDEFINED;
  void (*on_reserved_key)() = nullptr;
};

}  // namespace tw
