// The recorded-input file format: its round trip, and refusal of every
// truncation and changed byte and of the broken files in tests/data/replays.
#include "engine/input/InputRecording.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "tests/support/TestSupport.h"

using tw::InputRecording;

static std::string replayFile(const std::string& name) {
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
  const tw::RecordedInput* p_events = recording.getFrame(2, count);
  ASSERT_EQ(count, 2);
  EXPECT_EQ(p_events[1].kind, tw::RecordedInput::MOUSE);
  EXPECT_FLOAT_EQ(p_events[1].x, 3.5f);
  int best = 0;
  EXPECT_TRUE(recording.getValue("veld.best", best));
  EXPECT_EQ(best, 42);
  const std::string bytes = recording.encode();
  EXPECT_EQ(bytes, tw_test::readFile(replayFile("good.rec")));
  InputRecording untouched;
  for (std::size_t n = 0; n < bytes.size(); n++) {
    EXPECT_EQ(InputRecording::decode(bytes.substr(0, n), untouched, why), -1) << n;
    std::string changed = bytes;
    changed[n] = static_cast<char>(changed[n] ^ 0x10);
    EXPECT_EQ(InputRecording::decode(changed, untouched, why), -1) << n;
  }
  EXPECT_EQ(untouched.getFrameCount(), 0);
}

// refused.txt names each broken file and the reason it must be refused with.
TEST(InputRecording, BrokenFilesAreRefusedWithTheirReason) {
  int files = 0;
  for (const std::string& line : tw_test::readLines(replayFile("refused.txt"))) {
    if (line.empty() || line[0] == '#') continue;
    const std::string name = line.substr(0, line.find(": "));
    InputRecording recording;
    std::string why;
    EXPECT_EQ(InputRecording::load(replayFile(name), recording, why), -1) << name;
    EXPECT_NE(why.find(line.substr(name.size() + 2)), std::string::npos) << name << ": " << why;
    files++;
  }
  EXPECT_EQ(files, 21);
}
