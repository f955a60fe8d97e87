#include "engine/resources/Sound.h"

#include <gtest/gtest.h>

#include "engine/core/LogManager.h"
#include "tests/resources/WavFile.h"
#include "tests/support/TestSupport.h"

namespace {

TEST(Sound, LoadsARealWavAndRefusesWhatIsNotSound) {
  tw_test::TempDir dir;
  tw_test::writeWav(dir.file("beep.wav"));
  tw::Sound sound;
  EXPECT_EQ("[Undefined]", sound.getLabel());
  EXPECT_EQ(0, sound.loadSound(dir.file("beep.wav")));
  EXPECT_EQ(-1, sound.loadSound(dir.write("noise.wav", "RIFF but not really a wave file")));
  EXPECT_EQ(-1, sound.loadSound(dir.file("absent.wav")));
  EXPECT_EQ(-1, sound.loadSound(dir.path()));  // a folder, not a file
  EXPECT_EQ(0, sound.loadSound(dir.file("beep.wav")));  // loading again is fine
}

TEST(Sound, PlayWithoutALoadedSoundOnlyLogs) {
  tw_test::LogCapture log;
  tw::LogManager::getInstance().setLogLevel(5);
  tw::Sound sound;
  sound.play(false);
  sound.stop();
  EXPECT_TRUE(log.contains("Sound::play(): Playing sound."));
}

TEST(Sound, PlayingAndStoppingIsQuiet) {
  tw::LogManager::getInstance().setLogLevel(0);  // only the unlevelled lines may appear
  tw_test::TempDir dir;
  tw_test::writeWav(dir.file("beep.wav"));
  {
    tw_test::StderrToFile quiet(dir.file("stderr.txt"));
    tw::Sound sounds[3];
    for (tw::Sound& sound : sounds) {
      ASSERT_EQ(0, sound.loadSound(dir.file("beep.wav")));
      sound.play(false);
      sound.play(true);
      sound.stop();
    }
  }
  // No audio device here: nothing may be written, let alone once per call.
  EXPECT_EQ("", tw_test::readFile(dir.file("stderr.txt")));
}

}  // namespace
