// The input manager without a window: the key table and its mapping from
// window keys, keyboard events, start-up, and the capture presenter's input
// delivered, recorded and replayed; the recorded-input file format, its round
// trip and refusal of every truncation and changed byte and of the broken
// files in tests/data/replays.
#include "engine/input/InputManager.h"
#include "engine/input/InputRecording.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <set>

#include "engine/core/Config.h"
#include "engine/core/LogManager.h"
#include "engine/display/CapturePresenter.h"
#include "engine/display/DisplayManager.h"
#include "engine/loop/GameManager.h"
#include "tests/support/InputRecorder.h"
#include "tests/support/TestSupport.h"

using tw::InputManager;
using tw::Keyboard::Key;
using PK = tw::platform::Key;
using Type = tw::platform::InputEvent::Type;

static tw::platform::InputEvent inputEvent(Type type, PK key = PK::A) {
  tw::platform::InputEvent event;
  event.type = type;
  event.key = key;
  event.x = 3.5f;
  return event;
}

TEST(InputManager, KeysMapBothWays) {
  // 75 engine keys have a window key, each its own; the round trip holds.
  std::set<Key> reached;
  for (int code = 0; code < tw::platform::KEY_COUNT; code++) {
    const Key key = InputManager::toEngineKey(static_cast<PK>(code));
    if (key == tw::Keyboard::KEY_UNDEFINED) continue;
    EXPECT_TRUE(reached.insert(key).second) << "key " << key << " reached twice";
    EXPECT_EQ(InputManager::toPlatformKey(key), static_cast<PK>(code));
  }
  EXPECT_EQ(reached.size(), 75u);
  EXPECT_EQ(reached.count(tw::Keyboard::RESERVED_KEY) + reached.count(tw::Keyboard::BACKQUOTE), 0u);
}

// The main row's minus is no engine key (the keypad's is MINUS); unhandled
// keys are named in a warning. Outside headless mode the manager needs the
// display manager started first.
TEST(InputManager, KeyboardEventsNameUnhandledKeysAndStartUpNeedsTheDisplay) {
  tw_test::LogCapture log;
  tw::LogManager::getInstance().setLogLevel(1);
  InputManager& im = InputManager::getInstance();
  const tw::EventKeyboard minus = im.toEventKeyboard(inputEvent(Type::KeyReleased, PK::Subtract));
  EXPECT_EQ(minus.getKey(), tw::Keyboard::MINUS);
  EXPECT_EQ(minus.getKeyboardAction(), tw::KEY_ACTION_UNDEFINED);  // the caller sets it
  for (PK unhandled : {PK::Hyphen, PK::Numpad5, PK::Unknown}) {
    EXPECT_EQ(im.toEventKeyboard(inputEvent(Type::KeyPressed, unhandled)).getKey(), -1);
  }
  EXPECT_EQ(im.toEventKeyboard(inputEvent(Type::MouseMoved)).getKey(), tw::Keyboard::KEY_UNDEFINED);
  EXPECT_EQ(im.startUp(), -1);
  tw::Config::getInstance().loadConfig("headless:true");
  EXPECT_EQ(im.startUp(), 0);
  std::string logged;
  for (const std::string& line : log.messages()) logged += line.substr(line.find("):") + 3) + "\n";
  EXPECT_EQ(logged, "Warning key '-' not handled.\nWarning key 'Numpad 5' not handled.\n"
                    "Warning key 'Unknown' not handled.\nError! Called with non-keyboard event.\n"
                    "Error! DisplayManager must be started first.\nno input in headless mode.\n");
}

// The input manager over the capture presenter, whose input a test queues.
class CaptureInput : public ::testing::Test {
 protected:
  int start(const std::string& items) {
    tw::Config::getInstance().reset();
    tw::Config::getInstance().loadConfig("display:capture," + items);
    if (tw::DisplayManager::getInstance().startUp() != 0) return -1;
    return im.startUp();
  }
  void TearDown() override {
    if (im.isStarted()) im.shutDown();
    tw::DisplayManager::getInstance().shutDown();
  }
  // Runs one frame per entry, its events queued first; returns what arrived.
  std::vector<tw_test::Received> run(const std::vector<std::vector<tw::platform::InputEvent>>& frames) {
    tw_test::Recorder recorder;
    for (const auto& queued : frames) {
      for (const auto& e : queued) {
        static_cast<tw::CapturePresenter*>(tw::DisplayManager::getInstance().getPresenter())->pushEvent(e);
      }
      im.getInput();
      recorder.frame++;
    }
    return recorder.received;
  }
  InputManager& im = InputManager::getInstance();
  tw_test::TempDir dir;
  tw_test::LogCapture log;
};

// Each event received as {frame, keyboard?, key, action, button, 10 x}.
static std::vector<std::vector<int>> summary(const std::vector<tw_test::Received>& received) {
  std::vector<std::vector<int>> out;
  for (const tw_test::Received& r : received) {
    out.push_back({r.frame, r.keyboard, r.key, r.action, r.button, static_cast<int>(r.position.getX() * 10)});
  }
  return out;
}

// Within a frame the queued events come in order, then held buttons and keys
// (not F11); a release ends the held reports; a close request ends the game
// and the frame's input. A replay of the recording delivers the same, and
// ignores the presenter's own input.
TEST_F(CaptureInput, EventsArriveInOrderThenHeldOnesAndReplayAsRecorded) {
  const std::string file = dir.file("run.rec");
  ASSERT_EQ(start("record_file:" + file), 0);
  EXPECT_EQ(im.carryValue("best", 7), 7);
  const auto received = run({{inputEvent(Type::KeyPressed), inputEvent(Type::MouseButtonPressed),
                              inputEvent(Type::KeyPressed, PK::F11)},
                             {inputEvent(Type::KeyReleased)},
                             {inputEvent(Type::Closed), inputEvent(Type::KeyPressed, PK::B)}});
  const int A = tw::Keyboard::A, F11 = tw::Keyboard::F11, LEFT = tw::Mouse::MOUSE_LEFT;
  const std::vector<std::vector<int>> expected = {
      {0, 1, A, tw::KEY_PRESSED, -1, 0},      {0, 0, -1, tw::MOUSE_CLICKED, LEFT, 35},
      {0, 1, F11, tw::KEY_PRESSED, -1, 0},    {0, 0, -1, tw::MOUSE_HELD, LEFT, 35},
      {0, 1, A, tw::KEY_HELD, -1, 0},         {1, 1, A, tw::KEY_RELEASED, -1, 0},
      {1, 0, -1, tw::MOUSE_HELD, LEFT, 35}};
  EXPECT_EQ(summary(received), expected);
  EXPECT_TRUE(tw::GameManager::getInstance().getGameOver());
  im.shutDown();
  tw::DisplayManager::getInstance().shutDown();
  ASSERT_TRUE(log.contains("InputManager::shutDown(): Recorded 3 frames into '" + file + "'."));
  tw::GameManager::getInstance().setGameOver(false);
  ASSERT_EQ(start("replay_file:" + file), 0);
  EXPECT_EQ(im.carryValue("best", 99), 7);
  const auto pressed = inputEvent(Type::KeyPressed, PK::C);
  EXPECT_EQ(summary(run({{pressed}, {pressed}, {pressed}})), expected);
  EXPECT_TRUE(tw::GameManager::getInstance().getGameOver());
  im.getInput();
  EXPECT_TRUE(log.contains("InputManager::getInput(): Replay ended after 3 frames."));
}

TEST_F(CaptureInput, AReplayThatCannotBeUsedStopsStartUp) {
  tw::InputRecording other_grid;
  other_grid.setGrid(100, 30);
  std::string why;
  ASSERT_EQ(other_grid.save(dir.file("wide.rec"), why), 0) << why;
  const std::pair<std::string, std::string> cases[] = {
      {"replay_file:" + dir.file("wide.rec"), "refused: recorded on a 100x30 grid, this one is 80x24."},
      {"replay_file:" + dir.file("wide.rec") + ",record_file:" + dir.file("x.rec"),
       "Cannot record and replay at once."},
      {"replay_file:" + dir.file("none.rec"), "refused: no such file"}};
  for (const auto& c : cases) {
    EXPECT_EQ(start(c.first), -1) << c.first;
    EXPECT_TRUE(log.contains(c.second)) << c.second;
    tw::DisplayManager::getInstance().shutDown();
  }
}

static std::string replayFile(const std::string& name) { return tw_test::dataPath("replays/" + name); }

TEST(InputRecording, DecodesWhatItEncodedAndRefusesEveryCutOrChangedByte) {
  tw::InputRecording recording;
  std::string why;
  ASSERT_EQ(tw::InputRecording::load(replayFile("good.rec"), recording, why), 0) << why;
  EXPECT_EQ(recording.getSeed(), 11);
  EXPECT_EQ(recording.getFrameCount(), 4);
  int count = 0;
  const tw::RecordedInput* p_events = recording.getFrame(2, count);
  ASSERT_EQ(count, 2);
  EXPECT_EQ(p_events[1].kind, tw::RecordedInput::MOUSE);
  EXPECT_FLOAT_EQ(p_events[1].x, 3.5f);
  int best = 0;
  EXPECT_TRUE(recording.getValue("veld.best", best));
  EXPECT_EQ(best, 42);
  const std::string bytes = recording.encode();
  EXPECT_EQ(bytes, tw_test::readFile(replayFile("good.rec")));
  tw::InputRecording untouched;
  for (std::size_t n = 0; n < bytes.size(); n++) {
    EXPECT_EQ(tw::InputRecording::decode(bytes.substr(0, n), untouched, why), -1) << n;
    std::string changed = bytes;
    changed[n] = static_cast<char>(changed[n] ^ 0x10);
    EXPECT_EQ(tw::InputRecording::decode(changed, untouched, why), -1) << n;
  }
  EXPECT_EQ(untouched.getFrameCount(), 0);
}

// refused.txt names each broken file and the reason it must be refused with.
TEST(InputRecording, BrokenFilesAreRefusedWithTheirReason) {
  int files = 0;
  for (const std::string& line : tw_test::caseLines("replays/refused.txt")) {
    const std::string name = line.substr(0, line.find(": "));
    tw::InputRecording recording;
    std::string why;
    EXPECT_EQ(tw::InputRecording::load(replayFile(name), recording, why), -1) << name;
    EXPECT_NE(why.find(line.substr(name.size() + 2)), std::string::npos) << name << ": " << why;
    files++;
  }
  EXPECT_EQ(files, 21);
}
