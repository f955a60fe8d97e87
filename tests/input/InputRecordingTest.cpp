// Recorded input: the file format's round trip, refusal of every truncation
// and changed byte, a corpus of broken files, and the input manager recording
// what it delivers and replaying it in place of the presenter's input.
#include "engine/input/InputRecording.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "engine/core/Config.h"
#include "engine/loop/GameManager.h"
#include "engine/display/CapturePresenter.h"
#include "engine/display/DisplayManager.h"
#include "engine/input/InputManager.h"
#include "tests/support/InputRecorder.h"
#include "tests/support/TestSupport.h"

namespace {

using tw::InputRecording;
using tw::RecordedInput;

std::string replayFile(const std::string& name) {
  const char* data = std::getenv("TW_TEST_DATA");
  return std::string(data != nullptr ? data : ".") + "/replays/" + name;
}

TEST(InputRecording, DecodesWhatItEncodedAndRefusesEveryCutOrChangedByte) {
  InputRecording recording;
  std::string why;
  ASSERT_EQ(InputRecording::load(replayFile("good.rec"), recording, why), 0) << why;
  EXPECT_EQ(recording.getSeed(), 11);
  EXPECT_EQ(recording.getFrameCount(), 4);
  int count = 0;
  const RecordedInput* p_events = recording.getFrame(2, count);
  ASSERT_EQ(count, 2);
  EXPECT_EQ(p_events[1].kind, RecordedInput::MOUSE);
  EXPECT_FLOAT_EQ(p_events[1].x, 3.5f);
  int best = 0;
  EXPECT_TRUE(recording.getValue("veld.best", best));
  EXPECT_EQ(best, 42);
  const std::string bytes = recording.encode();
  EXPECT_EQ(bytes, tw_test::readFile(replayFile("good.rec")));
  InputRecording untouched;
  for (std::size_t n = 0; n < bytes.size(); n++) {
    EXPECT_EQ(InputRecording::decode(bytes.substr(0, n), untouched, why), -1) << n;
  }
  for (std::size_t i = 0; i < bytes.size(); i++) {
    std::string changed = bytes;
    changed[i] = static_cast<char>(changed[i] ^ 0x10);
    EXPECT_EQ(InputRecording::decode(changed, untouched, why), -1) << i;
  }
  EXPECT_EQ(untouched.getFrameCount(), 0);
}

TEST(InputRecording, BrokenFilesAreRefusedWithTheirReason) {
  const std::pair<const char*, const char*> corpus[] = {
      {"empty.rec", "truncated: 0 bytes"},
      {"header-cut.rec", "truncated: 30 bytes"},
      {"not-a-replay.rec", "not a Tarnwick replay file"},
      {"version-2.rec", "file version 2, this program reads version 1"},
      {"truncated.rec", "truncated"},
      {"stray-bytes.rec", "2 stray bytes after the last frame"},
      {"checksum-wrong.rec", "corrupted: the checksum does not match"},
      {"flipped-byte.rec", "corrupted: the checksum does not match"},
      {"hostile-frame-count.rec", "4294967295 frames and 4 events need"},
      {"hostile-event-count.rec", "4 frames and 2147483647 events need"},
      {"frame-overflows.rec", "frame 0 holds more events than the file"},
      {"unknown-kind.rec", "frame 0: unknown event kind 7"},
      {"bad-key.rec", "frame 0: bad key"},
      {"bad-action.rec", "frame 0: bad keyboard action"},
      {"nan-position.rec", "frame 0: mouse position out of range"},
      {"far-position.rec", "frame 0: mouse position out of range"},
      {"bad-value-name.rec", "bad value name"},
      {"too-many-values.rec", "too many values (100000)"},
      {"zero-grid.rec", "grid size out of range"},
      {"frame-time-negative.rec", "frame time out of range"},
      {"no-such.rec", "no such file"},
  };
  for (const auto& broken : corpus) {
    InputRecording recording;
    std::string why;
    EXPECT_EQ(InputRecording::load(replayFile(broken.first), recording, why), -1) << broken.first;
    EXPECT_NE(why.find(broken.second), std::string::npos) << broken.first << ": " << why;
  }
}

// The manager under the capture presenter, with record_file or replay_file.
class RecordReplayTest : public ::testing::Test {
 protected:
  int start(const std::string& item) {
    tw::Config::getInstance().reset();
    tw::Config::getInstance().loadConfig("display:capture," + item);
    if (tw::DisplayManager::getInstance().startUp() != 0) return -1;
    return tw::InputManager::getInstance().startUp();
  }
  void stop() {
    tw::InputManager::getInstance().shutDown();
    tw::DisplayManager::getInstance().shutDown();
  }
  static void push(tw::platform::InputEvent::Type type, tw::platform::Key key, float x = 0) {
    tw::platform::InputEvent e;
    e.type = type;
    e.key = key;
    e.x = x;
    dynamic_cast<tw::CapturePresenter*>(tw::DisplayManager::getInstance().getPresenter())
        ->pushEvent(e);
  }
  static std::string received(const tw_test::Recorder& r) {
    std::string text;
    for (const tw_test::Received& e : r.received) {
      text += std::to_string(e.frame) + ":" + std::to_string(e.key) + "/" +
              std::to_string(e.action) + "/" + std::to_string(e.button) + "/" +
              e.position.toString() + " ";
    }
    return text;
  }

  tw_test::TempDir dir;
  tw_test::LogCapture log;
};

TEST_F(RecordReplayTest, ReplayDeliversWhatWasRecordedAndIgnoresThePresenter) {
  using Type = tw::platform::InputEvent::Type;
  using PK = tw::platform::Key;
  tw::InputManager& im = tw::InputManager::getInstance();
  const std::string file = dir.file("run.rec");
  ASSERT_EQ(start("record_file:" + file), 0);
  EXPECT_EQ(im.carryValue("best", 7), 7);
  std::string delivered;
  {
    tw_test::Recorder live;
    push(Type::KeyPressed, PK::A);
    push(Type::MouseButtonPressed, PK::Unknown, 3.5f);
    im.getInput();
    live.frame = 1;
    im.getInput();  // A and the button held
    live.frame = 2;
    push(Type::KeyReleased, PK::A);
    im.getInput();
    delivered = received(live);
  }
  stop();
  ASSERT_TRUE(log.contains("InputManager::shutDown(): Recorded 3 frames into '" + file + "'."));

  ASSERT_EQ(start("replay_file:" + file), 0);
  EXPECT_EQ(im.carryValue("best", 99), 7);
  tw_test::Recorder replayed;
  for (int frame = 0; frame < 3; frame++) {
    replayed.frame = frame;
    push(Type::KeyPressed, PK::B);  // the presenter's own input is not used
    im.getInput();
  }
  EXPECT_EQ(received(replayed), delivered);
  EXPECT_FALSE(tw::GameManager::getInstance().getGameOver());
  im.getInput();
  EXPECT_TRUE(tw::GameManager::getInstance().getGameOver());
  EXPECT_TRUE(log.contains("InputManager::getInput(): Replay ended after 3 frames."));
  stop();
}

TEST_F(RecordReplayTest, AReplayThatCannotBeUsedStopsStartUp) {
  InputRecording other_grid;
  other_grid.setGrid(100, 30);
  std::string why;
  ASSERT_EQ(other_grid.save(dir.file("wide.rec"), why), 0) << why;
  const std::pair<std::string, std::string> cases[] = {
      {"replay_file:" + replayFile("version-2.rec"), "refused: file version 2"},
      {"replay_file:" + dir.file("wide.rec"), "refused: recorded on a 100x30 grid, this one is 80x24."},
      {"replay_file:" + replayFile("good.rec") + ",record_file:" + dir.file("x.rec"),
       "Cannot record and replay at once."},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(start(c.first), -1) << c.first;
    EXPECT_TRUE(log.contains(c.second)) << c.second;
    tw::DisplayManager::getInstance().shutDown();
  }
}

}  // namespace
