// The SFML adapter: calls that need an X display refuse cleanly without one,
// the key names, and audio that never floods standard error.
// None of these tests opens a window.
#include "engine/platform/Sfml.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <set>

#include <SFML/System/Err.hpp>

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

// Names are what warnings about unhandled keys show (more are checked
// through the terminal input tests).
TEST(SfmlAdapter, KeyDescriptionsAreReadableAndDistinct) {
  std::set<std::string> seen;
  for (int code = 0; code < tw::platform::KEY_COUNT; code++) {
    seen.insert(tw::platform::keyDescription(static_cast<Key>(code)));
  }
  EXPECT_EQ(seen.count(""), 0u);
  EXPECT_EQ(seen.size(), static_cast<size_t>(tw::platform::KEY_COUNT));
  EXPECT_EQ(tw::platform::keyDescription(Key::Grave) + tw::platform::keyDescription(Key::Num0) +
                tw::platform::keyDescription(static_cast<Key>(tw::platform::KEY_COUNT)),
            "`0Unknown");
}

// Without an audio device the audio library complains on every call; only
// its complaints are kept off standard error.
TEST(SfmlAdapter, AudioLoadsFilesAndPlaysWithoutWritingToStandardError) {
  const char* data = std::getenv("TW_TEST_DATA");
  const std::string wav = std::string(data ? data : ".") + "/sounds/short.wav";
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
