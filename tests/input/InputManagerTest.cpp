// The input manager without a window: the key table and its mapping from
// window keys, keyboard events, start-up, and the capture presenter's input
// delivered, recorded and replayed; the recorded-input file format: files
// cut short read up to their last whole frame, changed bytes and broken
// files (also the earlier version's, in tests/data/replays) refused.
#include "engine/input/InputManager.h"
#include "engine/input/InputRecording.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <set>
#include <vector>

#include "engine/core/Config.h"
#include "engine/core/LogManager.h"
#include "engine/display/CapturePresenter.h"
#include "engine/display/DisplayManager.h"
#include "engine/loop/GameManager.h"
#include "tests/support/InputProbe.h"
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

// The input script queued into the capture presenter, frame by frame (a
// held key's auto-repeats marked as such), gives the report every presenter
// gives; recorded and replayed, the same again.
TEST_F(CaptureInput, TheInputScriptReportsWhatEveryPresenterReports) {
  const auto key = [](tw::Keyboard::Key k, Type type, bool repeat = false) {
    tw::platform::InputEvent e = inputEvent(type, InputManager::toPlatformKey(k));
    e.repeat = repeat;
    return e;
  };
  std::vector<std::vector<tw::platform::InputEvent>> frames;
  for (const tw_test::ScriptLine& line : tw_test::INPUT_SCRIPT) {
    const int taps = line.kind == tw_test::ScriptLine::TAP ? line.taps : 1;
    for (int i = 0; i < taps; i++) {
      frames.push_back({key(line.key, Type::KeyPressed)});
      for (int r = 0; line.kind == tw_test::ScriptLine::HOLD && r < 5; r++) {
        frames.push_back({key(line.key, Type::KeyPressed, true)});
      }
      frames.push_back({key(line.key, Type::KeyReleased)});
      frames.push_back({});
    }
  }
  const auto play = [&](const std::string& setting) {
    EXPECT_EQ(start(setting), 0);
    tw_test::InputProbe probe(false);
    for (const auto& queued : frames) {
      for (const auto& e : queued) {
        static_cast<tw::CapturePresenter*>(tw::DisplayManager::getInstance().getPresenter())->pushEvent(e);
      }
      im.getInput();
      probe.sample();
    }
    im.shutDown();
    tw::DisplayManager::getInstance().shutDown();
    return probe.report();
  };
  const std::string file = dir.file("script.rec");
  EXPECT_EQ(play("record_file:" + file), tw_test::EXPECTED_REPORT);
  EXPECT_EQ(play("replay_file:" + file), tw_test::EXPECTED_REPORT);
}

// A file of version 2 holds no keystrokes: its replay takes one from each
// press, so a game that moves on keystrokes replays as it played.
TEST_F(CaptureInput, AnOlderRecordingReplaysAKeystrokeForEachPress) {
  ASSERT_EQ(start("replay_file:" + tw_test::dataPath("replays/whole-2.rec")), 0);
  std::vector<tw::Keyboard::Key> strokes;
  struct Strokes : tw::Object {
    std::vector<tw::Keyboard::Key>* p_out;
    explicit Strokes(std::vector<tw::Keyboard::Key>* out) : p_out(out) {
      registerInterest(tw::KEYSTROKE_EVENT);
    }
    int eventHandler(const tw::Event* p_e) override {
      const auto* p_key = tw::eventCast<tw::EventKeystroke>(p_e);
      if (p_key == nullptr) return 0;
      p_out->push_back(p_key->isRepeat() ? tw::Keyboard::KEY_UNDEFINED : p_key->getKey());
      return 1;
    }
  } listener(&strokes);
  for (int frame = 0; frame < 4; frame++) {
    im.getInput();
    if (frame == 0) {
      EXPECT_TRUE(im.wasKeyPressed(tw::Keyboard::A));
      EXPECT_TRUE(im.isKeyDown(tw::Keyboard::A));
    }
    if (frame == 1) {
      EXPECT_FALSE(im.isKeyDown(tw::Keyboard::A));  // neither held nor pressed again
    }
    if (frame == 2) {
      EXPECT_TRUE(im.isButtonDown(tw::Mouse::MOUSE_LEFT));
      EXPECT_EQ(im.getMousePosition(), tw::Vector(3.5f, 4));
    }
  }
  EXPECT_EQ(strokes, std::vector<tw::Keyboard::Key>{tw::Keyboard::A});
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

// A recording as a game makes one (values carried before and between the
// frames, events of every kind, an empty frame), written out piece by piece
// as it grows, the way the input manager writes its file.
struct SampleRecording {
  tw::InputRecording r;
  std::string streamed;                  // what the pieces make
  std::vector<std::size_t> frame_ends;   // where each frame's record ends in it

  SampleRecording() {
    r.setSeed(11);
    r.setValue("veld.best", 42);
    frame({{tw::RecordedInput::KEY, tw::KEY_PRESSED, tw::Keyboard::A, 0, 0},
           {tw::RecordedInput::KEYSTROKE, 1, tw::Keyboard::A, 0, 0}});
    frame({});
    r.setValue("veld.muted", 1);
    frame({{tw::RecordedInput::MOUSE, tw::MOUSE_MOVED, tw::Mouse::MOUSE_BUTTON_UNDEFINED, 3.5f, 4},
           {tw::RecordedInput::MOUSE, tw::MOUSE_CLICKED, tw::Mouse::MOUSE_LEFT, 3.5f, 4}});
    frame({tw::RecordedInput()});
    r.encodeInto(state, r.getFrameCount(), true, streamed);
  }
  void frame(const std::vector<tw::RecordedInput>& events) {
    r.beginFrame();
    for (const tw::RecordedInput& e : events) r.addEvent(e);
    r.encodeInto(state, r.getFrameCount(), false, streamed);
    frame_ends.push_back(streamed.size());
  }

 private:
  tw::InputRecording::EncodeState state;
};

// A file cut anywhere after its header (a game killed while recording) reads
// as the frames written whole before the cut, and encodes back to the bytes
// it was read from; one changed byte anywhere is refused.
TEST(InputRecording, ReadsAFileCutShortUpToItsLastWholeFrameAndRefusesAnyChangedByte) {
  const SampleRecording sample;
  const std::string& bytes = sample.streamed;
  ASSERT_EQ(bytes, sample.r.encode());
  // The format stays as files already written have it.
  EXPECT_EQ(bytes, tw_test::readFile(replayFile("whole-3.rec")));
  const std::size_t header = 32;
  for (std::size_t n = 0; n <= bytes.size(); n++) {
    SCOPED_TRACE(n);
    tw::InputRecording read;
    std::string why;
    const int result = tw::InputRecording::decode(bytes.substr(0, n), read, why);
    if (n < header) {
      EXPECT_EQ(result, -1);
    } else {
      ASSERT_EQ(result, 0) << why;
      const auto whole = std::count_if(sample.frame_ends.begin(), sample.frame_ends.end(),
                                       [n](std::size_t end) { return end <= n; });
      EXPECT_EQ(read.getFrameCount(), whole);
      EXPECT_EQ(read.isCutShort(), n < bytes.size());
      const std::string again = read.encode();
      EXPECT_EQ(bytes.compare(0, again.size(), again), 0);
    }
    if (n == bytes.size()) break;
    std::string changed = bytes;
    changed[n] = static_cast<char>(changed[n] ^ 0x10);
    EXPECT_EQ(tw::InputRecording::decode(changed, read, why), -1);
  }
  tw::InputRecording read;
  std::string why;
  ASSERT_EQ(tw::InputRecording::decode(bytes, read, why), 0);
  EXPECT_EQ(read.encode(), bytes);
  int value = 0;
  EXPECT_TRUE(read.getValue("veld.muted", value) && value == 1);
}

// What a refused file is refused with. (Files cut short are read by the
// test above, at every cut.)
TEST(InputRecording, RefusesBrokenFilesWithTheirReason) {
  const std::string bytes = SampleRecording().streamed;
  tw::InputRecording hostile = SampleRecording().r;
  hostile.beginFrame();
  hostile.addEvent({tw::RecordedInput::KEY, tw::KEY_PRESSED, 500, 0, 0});
  auto changed = [&](std::size_t at, char to) {
    std::string b = bytes;
    b[at] = to;
    return b;
  };
  // The header (32 bytes), the value record (22), the first frame's head.
  const std::size_t first_event = 32 + 22 + 5;
  const struct {
    const char* what;
    std::string bytes;
    std::string expected;  // the reason
  } cases[] = {
      {"header cut", bytes.substr(0, 20), "truncated: 20 bytes"},
      {"not a replay", changed(0, 'X'), "not a Tarnwick replay file"},
      {"other version", changed(8, 4), "file version 4, this program reads versions 1 to 3"},
      {"seed changed", changed(12, 5), "corrupted: the header's checksum does not match"},
      {"record size changed", changed(33, 8), "corrupted: a record's mark does not match"},
      {"event changed", changed(first_event + 2, 9), "corrupted: the checksum does not match"},
      {"stray bytes", bytes + "xy", "2 stray bytes after the closing record"},
      {"impossible key", hostile.encode(), "frame 4: bad key"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    tw::InputRecording read;
    std::string why;
    EXPECT_EQ(tw::InputRecording::decode(c.bytes, read, why), -1);
    EXPECT_NE(why.find(c.expected), std::string::npos) << why;
  }
}

// Files written whole at shut-down by earlier versions are still read.
TEST(InputRecording, ReadsTheEarlierVersion) {
  tw::InputRecording recording;
  std::string why;
  ASSERT_EQ(tw::InputRecording::load(replayFile("good.rec"), recording, why), 0) << why;
  EXPECT_EQ(recording.getSeed(), 11);
  EXPECT_EQ(recording.getFrameCount(), 4);
  EXPECT_FALSE(recording.isCutShort());
  int count = 0;
  const tw::RecordedInput* p_events = recording.getFrame(2, count);
  ASSERT_EQ(count, 2);
  EXPECT_EQ(p_events[1].kind, tw::RecordedInput::MOUSE);
  EXPECT_FLOAT_EQ(p_events[1].x, 3.5f);
  int best = 0;
  EXPECT_TRUE(recording.getValue("veld.best", best));
  EXPECT_EQ(best, 42);
  const std::string v1 = tw_test::readFile(replayFile("good.rec"));
  tw::InputRecording untouched;
  for (std::size_t n = 0; n < v1.size(); n++) {
    EXPECT_EQ(tw::InputRecording::decode(v1.substr(0, n), untouched, why), -1) << n;
    std::string changed = v1;
    changed[n] = static_cast<char>(changed[n] ^ 0x10);
    EXPECT_EQ(tw::InputRecording::decode(changed, untouched, why), -1) << n;
  }
  EXPECT_EQ(untouched.getFrameCount(), 0);
}

// A frame time past the settings' limit, which files written before the two
// agreed may hold, is read as the limit.
TEST(InputRecording, ReadsAFrameTimePastTheLimitAsTheLimit) {
  const int limit = tw::Config::MAX_FRAME_TIME;
  const struct {
    int written, read;
  } cases[] = {{33, 33}, {limit, limit}, {limit + 1, limit}, {10000, limit}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.written);
    tw::InputRecording written = SampleRecording().r;
    written.setFrameTime(c.written);
    tw::InputRecording read;
    std::string why;
    ASSERT_EQ(tw::InputRecording::decode(written.encode(), read, why), 0) << why;
    EXPECT_EQ(read.getFrameTime(), c.read);
  }
}

// refused.txt names each broken file of the earlier version and the reason
// it must be refused with.
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
  EXPECT_EQ(files, 22);
}
