// The SFML adapter: calls that need an X display refuse cleanly without one,
// the key names, and audio that never floods standard error.
// None of these tests opens a window.
#include "engine/platform/Sfml.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <set>

#include <SFML/System/Err.hpp>

#include "tests/support/TestSupport.h"

namespace {

using tw::platform::Key;

// Collects what is written to standard error (the descriptor) meanwhile.
class StderrCapture {
 public:
  StderrCapture() : path(dir.file("stderr.txt")) {
    std::fflush(stderr);
    saved = dup(STDERR_FILENO);
    FILE* f = std::fopen(path.c_str(), "w");
    dup2(fileno(f), STDERR_FILENO);
    std::fclose(f);
  }
  ~StderrCapture() { restore(); }
  std::string text() {
    restore();
    return tw_test::readFile(path);
  }

 private:
  void restore() {
    if (saved < 0) return;
    std::fflush(stderr);
    sf::err().flush();
    dup2(saved, STDERR_FILENO);
    close(saved);
    saved = -1;
  }
  tw_test::TempDir dir;
  std::string path;
  int saved = -1;
};

// A short 16-bit mono PCM WAV file of a quiet square wave.
std::string writeWav(const tw_test::TempDir& dir) {
  const unsigned rate = 8000;
  const unsigned samples = 800;
  std::string data;
  for (unsigned i = 0; i < samples; i++) {
    short value = (i / 20) % 2 ? 1000 : -1000;
    data.push_back(static_cast<char>(value & 0xff));
    data.push_back(static_cast<char>((value >> 8) & 0xff));
  }
  auto u32 = [](unsigned v) {
    return std::string{static_cast<char>(v & 0xff), static_cast<char>((v >> 8) & 0xff),
                       static_cast<char>((v >> 16) & 0xff), static_cast<char>((v >> 24) & 0xff)};
  };
  auto u16 = [](unsigned v) {
    return std::string{static_cast<char>(v & 0xff), static_cast<char>((v >> 8) & 0xff)};
  };
  std::string wav = "RIFF" + u32(36 + static_cast<unsigned>(data.size())) + "WAVE";
  wav += "fmt " + u32(16) + u16(1) + u16(1) + u32(rate) + u32(rate * 2) + u16(2) + u16(16);
  wav += "data" + u32(static_cast<unsigned>(data.size())) + data;
  return dir.write("beep.wav", wav);
}

TEST(SfmlAdapter, CallsNeedingADisplayRefuseWithoutOne) {
  for (const char* display : {static_cast<const char*>(nullptr), ":59999"}) {
    tw_test::ScopedEnv env("DISPLAY", display);
    EXPECT_FALSE(tw::platform::displayAvailable());
    unsigned width = 7;
    unsigned height = 9;
    EXPECT_FALSE(tw::platform::getDesktopSize(width, height));
    EXPECT_EQ(width, 7u);
    EXPECT_EQ(height, 9u);
    EXPECT_EQ(tw::platform::createWindow(640, 480, "t", tw::platform::STYLE_DEFAULT,
                                         tw::platform::WindowState::Windowed),
              nullptr);
    EXPECT_FALSE(tw::platform::isKeyPressed(Key::A));
    EXPECT_FALSE(tw::platform::isButtonPressed(tw::platform::MouseButton::Left));
  }
}

TEST(SfmlAdapter, KeyDescriptionsAreReadableAndDistinct) {
  EXPECT_EQ(tw::platform::keyDescription(Key::A), "A");
  EXPECT_EQ(tw::platform::keyDescription(Key::Num0), "0");
  EXPECT_EQ(tw::platform::keyDescription(Key::Hyphen), "-");
  EXPECT_EQ(tw::platform::keyDescription(Key::Grave), "`");
  EXPECT_EQ(tw::platform::keyDescription(Key::Apostrophe), "'");
  EXPECT_EQ(tw::platform::keyDescription(Key::Subtract), "Numpad -");
  EXPECT_EQ(tw::platform::keyDescription(Key::Numpad5), "Numpad 5");
  EXPECT_EQ(tw::platform::keyDescription(Key::F1), "F1");
  EXPECT_EQ(tw::platform::keyDescription(Key::Pause), "Pause");
  EXPECT_EQ(tw::platform::keyDescription(Key::Unknown), "Unknown");
  EXPECT_EQ(tw::platform::keyDescription(static_cast<Key>(tw::platform::KEY_COUNT)), "Unknown");
  std::set<std::string> names;
  for (int code = 0; code < tw::platform::KEY_COUNT; code++) {
    std::string name = tw::platform::keyDescription(static_cast<Key>(code));
    EXPECT_FALSE(name.empty()) << code;
    names.insert(name);
  }
  EXPECT_EQ(names.size(), static_cast<size_t>(tw::platform::KEY_COUNT));
}

TEST(SfmlAdapter, AudioLoadsFilesAndPlaysWithoutWritingToStandardError) {
  tw_test::TempDir dir;
  const std::string wav = writeWav(dir);
  StderrCapture capture;
  {
    sf::SoundBuffer buffer;
    EXPECT_TRUE(tw::platform::loadSoundBuffer(buffer, wav));
    sf::Sound sound(buffer);
    sound.play();
    tw::platform::setLooping(sound, true);
    sound.stop();
    sf::Music music;
    EXPECT_TRUE(tw::platform::openMusicFromFile(music, wav));
    music.play();
    tw::platform::setLooping(music, true);
    music.stop();
    EXPECT_FALSE(tw::platform::loadSoundBuffer(buffer, dir.file("no-such-sound.wav")));
    EXPECT_FALSE(tw::platform::openMusicFromFile(music, dir.file("no-such-music.ogg")));
  }
  const std::string written = capture.text();
  EXPECT_EQ(written.find("OpenAL"), std::string::npos) << written;
  EXPECT_EQ(written.find("ALSA"), std::string::npos) << written;
  EXPECT_EQ(written.find("audio device"), std::string::npos) << written;
}

TEST(SfmlAdapter, OnlyTheAudioLibrarysComplaintsAreKeptOffStandardError) {
  tw::platform::audioAvailable();
  StderrCapture capture;
  sf::err() << "Failed to load image \"x.png\"" << std::endl;
  sf::err() << "An internal OpenAL call failed in Sound.cpp(73)." << std::endl
            << "Expression:" << std::endl
            << "   alSourcePlay(m_source)" << std::endl
            << std::endl;
  sf::err() << "Failed to load font \"y.ttf\"" << std::endl;
  const std::string written = capture.text();
  EXPECT_NE(written.find("Failed to load image \"x.png\""), std::string::npos) << written;
  EXPECT_NE(written.find("Failed to load font \"y.ttf\""), std::string::npos) << written;
  if (tw::platform::audioAvailable()) GTEST_SKIP() << "an audio device opened here";
  EXPECT_EQ(written.find("alSourcePlay"), std::string::npos) << written;
}

}  // namespace
