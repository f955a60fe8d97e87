#include "engine/resources/Music.h"

#include <gtest/gtest.h>

#include "engine/core/LogManager.h"
#include "tests/resources/WavFile.h"
#include "tests/support/TestSupport.h"

namespace {

TEST(Music, OpensARealWavAndRefusesWhatIsNotSound) {
  tw_test::TempDir dir;
  tw_test::writeWav(dir.file("tune.wav"), 8000);
  tw::Music music;
  EXPECT_EQ("[Undefined]", music.getLabel());
  EXPECT_EQ(0, music.loadMusic(dir.file("tune.wav")));
  EXPECT_EQ(-1, music.loadMusic(dir.write("text.wav", "just some text\n")));
  EXPECT_EQ(-1, music.loadMusic(dir.file("absent.ogg")));
  EXPECT_EQ(-1, music.loadMusic(dir.path()));  // a folder, not a file
}

TEST(Music, PlayAndStopLogAndStayQuiet) {
  tw_test::TempDir dir;
  tw_test::writeWav(dir.file("tune.wav"), 8000);
  tw_test::LogCapture log;
  tw::LogManager::getInstance().setLogLevel(5);
  {
    tw_test::StderrToFile quiet(dir.file("stderr.txt"));
    tw::Music music;
    ASSERT_EQ(0, music.loadMusic(dir.file("tune.wav")));
    music.play(true);
    music.stop();
    tw::Music unopened;
    unopened.play(false);
    unopened.stop();
  }
  EXPECT_TRUE(log.contains("Music::play(): Playing music."));
  EXPECT_TRUE(log.contains("Music::stop(): Stopping music."));
  EXPECT_EQ("", tw_test::readFile(dir.file("stderr.txt")));
}

}  // namespace
