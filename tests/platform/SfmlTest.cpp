// The SFML adapter without a window: calls that need an X display refuse
// cleanly without one, audio never floods standard error, and while the log
// is open the library's messages go there. (Key names are
// checked through the terminal input and input manager tests.)
#include "engine/platform/Sfml.h"

#include <gtest/gtest.h>

#include <SFML/System/Err.hpp>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <thread>

#include "engine/core/LogManager.h"
#include "engine/platform/StandardErrorCapture.h"

#include "tests/support/TestSupport.h"

using tw::platform::Key;

TEST(SfmlAdapter, CallsNeedingADisplayRefuseWithoutOne) {
  for (const char* display : {static_cast<const char*>(nullptr), ":59999"}) {
    tw_test::ScopedEnv env("DISPLAY", display);
    unsigned width = 7, height = 9;
    EXPECT_FALSE(tw::platform::displayAvailable() || tw::platform::getDesktopSize(width, height) ||
                 tw::platform::isKeyPressed(Key::A) ||
                 tw::platform::isButtonPressed(tw::platform::MouseButton::Left));
    EXPECT_EQ(width * 10 + height, 79u);  // left as they were
    EXPECT_EQ(tw::platform::createWindow(640, 480, "t", tw::platform::STYLE_DEFAULT,
                                         tw::platform::WindowState::Windowed),
              nullptr);
  }
}

// Without an audio device the audio library complains on every call; only
// its complaints are kept off standard error.
TEST(SfmlAdapter, AudioLoadsFilesAndPlaysWithoutWritingToStandardError) {
  const std::string wav = tw_test::dataPath("sounds/short.wav");
  testing::internal::CaptureStderr();
  {
    sf::SoundBuffer buffer;
    EXPECT_TRUE(tw::platform::loadSoundBuffer(buffer, wav));
    sf::Sound sound(buffer);
    sound.play();
    tw::platform::setLooping(sound, true);
    sf::Music music;
    EXPECT_TRUE(tw::platform::openMusicFromFile(music, wav));
    music.play();
    tw::platform::setLooping(music, true);
    EXPECT_FALSE(tw::platform::loadSoundBuffer(buffer, wav + ".missing"));
    EXPECT_FALSE(tw::platform::openMusicFromFile(music, wav + ".missing"));
  }
  sf::err() << "Failed to load image \"x.png\"\nAn internal OpenAL call failed in Sound.cpp(73).\n"
            << "Expression:\n   alSourcePlay(m_source)\n\nFailed to load font \"y.ttf\"" << std::endl;
  std::fflush(stderr);
  sf::err().flush();
  const std::string written = testing::internal::GetCapturedStderr();
  EXPECT_NE(written.find("Failed to load image \"x.png\"\n"), std::string::npos) << written;
  EXPECT_NE(written.find("Failed to load font \"y.ttf\"\n"), std::string::npos) << written;
  for (const char* noise : {"OpenAL", "ALSA", "audio device", "alSourcePlay"}) {
    EXPECT_TRUE(tw::platform::audioAvailable() || written.find(noise) == std::string::npos) << written;
  }
}

// A music stream writes to SFML's error stream from its own thread while the
// game loads files: no write may be lost to another or break the stream.
TEST(SfmlAdapter, ErrorStreamTakesWritesFromAStreamThreadDuringLoads) {
  testing::internal::CaptureStderr();
  std::atomic<bool> loaded{false};
  std::thread streamer([&loaded] {
    for (int i = 0; i < 100000 && !loaded; i++) {
      sf::err() << "An internal OpenAL call failed in SoundStream.cpp(285).\nExpression:\n"
                << "   alGenBuffers(BufferCount, m_buffers)\n\n";
    }
  });
  sf::SoundBuffer buffer;
  for (int i = 0; i < 300; i++) {
    EXPECT_FALSE(tw::platform::loadSoundBuffer(buffer, tw_test::dataPath("sounds/none.wav")));
  }
  loaded = true;
  streamer.join();
  sf::err() << "Failed to load font \"z.ttf\"" << std::endl;
  const std::string written = testing::internal::GetCapturedStderr();
  EXPECT_NE(written.find("Failed to load font \"z.ttf\"\n"), std::string::npos);
  EXPECT_TRUE(tw::platform::audioAvailable() || written.find("OpenAL") == std::string::npos);
}

// While the log is open, what the library (or anything else on standard
// error, while that is captured) prints goes to the log with its origin, and
// nothing reaches the screen.
TEST(SfmlAdapter, WhileTheLogIsOpenLibraryMessagesGoToItWithTheirOrigin) {
  tw_test::LogCapture log;
  tw::platform::StandardErrorCapture capture;
  testing::internal::CaptureStderr();
  ASSERT_EQ(capture.start(), 0);
  sf::err() << "Failed to open sound file \"zap.wav\"" << std::endl;
  std::fputs("ALSA lib pcm.c: unknown PCM\n", stderr);
  std::fflush(stderr);
  EXPECT_EQ(::write(STDERR_FILENO, "no line end", 11), 11);
  capture.stop();
  tw::LogManager::getInstance().writeLibraryMessages();
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
  for (const char* line : {"Library message (SFML): Failed to open sound file \"zap.wav\"",
                           "Library message (standard error): ALSA lib pcm.c: unknown PCM",
                           "Library message (standard error): no line end"}) {
    EXPECT_TRUE(log.contains(line)) << line;
  }
}
