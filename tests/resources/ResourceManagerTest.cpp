// The resource manager: every sprite file of the corpus in tests/data/sprites
// (good files give their sprites, bad ones their messages and replace or
// leave behind nothing), lookups, limits, refusals and release on shut-down;
// sounds and music from a real WAV file.
#include "engine/resources/ResourceManager.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "engine/core/LogManager.h"
#include "engine/core/Unicode.h"
#include "engine/world/Sprite.h"
#include "tests/support/SpriteCorpus.h"
#include "tests/support/TestSupport.h"

namespace {

using tw_test::spriteFile;

const char* const ONE_FRAME = "1\n1\n1\n0\nred\nx\n";

std::string tune() { return tw_test::dataPath("sounds/tune.wav"); }

class ResourceManagerTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(0, rm.startUp()); }
  void TearDown() override {
    if (rm.isStarted()) rm.shutDown();
  }
  long count(const std::string& message) const {
    const std::vector<std::string> messages = log.messages();
    return std::count(messages.begin(), messages.end(), message);
  }
  tw::ResourceManager& rm = tw::ResourceManager::getInstance();
  tw_test::LogCapture log;
  tw_test::TempDir dir;
};

// Shut down, the manager holds nothing and refuses every load until started.
TEST_F(ResourceManagerTest, ShutDownReleasesEverySpriteAndStopsEveryMusic) {
  EXPECT_EQ(-1, rm.startUp());  // already started
  ASSERT_EQ(0, rm.loadSprite(dir.write("a.txt", ONE_FRAME), "a"));
  ASSERT_EQ(0, rm.loadMusic(tune(), "a"));
  ASSERT_EQ(0, rm.loadMusic(tune(), "b"));
  rm.getMusic("a")->play(true);
  tw::LogManager::getInstance().setLogLevel(5);
  rm.shutDown();
  EXPECT_EQ(2, count("Music::stop(): Stopping music."));
  EXPECT_EQ(0, rm.getSpriteCount());
  std::istringstream in(ONE_FRAME);
  EXPECT_EQ(std::make_tuple(-1, -1, -1),
            std::make_tuple(rm.loadSprite(dir.file("a.txt"), "s"), rm.loadSound(tune(), "x"),
                            rm.loadMusic(tune(), "x")));
  EXPECT_EQ(nullptr, rm.loadSimpleSprite(in));
  EXPECT_EQ(nullptr, rm.loadRobustSprite(in));
  EXPECT_EQ(5, count("ResourceManager not started!"));
  ASSERT_EQ(0, rm.startUp());  // and it starts again, empty
  EXPECT_EQ(0, rm.getMusicCount());
  EXPECT_EQ(0, rm.loadSprite(dir.file("a.txt"), "a"));
}

TEST_F(ResourceManagerTest, EveryBadFileIsRefusedWithItsMessagesAndKeepsTheGoodSprite) {
  ASSERT_EQ(0, rm.loadSprite(spriteFile("good-simple.txt"), "hero"));
  tw::Sprite* const hero = rm.getSprite("hero");
  const std::vector<tw_test::BadFile> bad_files = tw_test::badSpriteFiles();
  ASSERT_EQ(58u, bad_files.size());
  for (const tw_test::BadFile& bad : bad_files) {
    SCOPED_TRACE(bad.name);
    const std::size_t before = log.messages().size();
    EXPECT_EQ(-1, rm.loadSprite(spriteFile(bad.name), "hero"));
    // Every line the reader writes names the file (its indent dropped).
    std::vector<std::string> expected;
    for (const std::string& message : bad.messages) {
      expected.push_back("'" + spriteFile(bad.name) + "': " +
                         message.substr(message.find_first_not_of(" \t")));
    }
    expected.push_back("RM::loadSprite(): Sprite 'hero' NOT loaded.");
    const std::vector<std::string> messages = log.messages();
    std::size_t at = before;  // each expected message in order, after the earlier ones
    for (const std::string& want : expected) {
      while (at < messages.size() && messages[at] != want) at++;
      EXPECT_LT(at++, messages.size()) << "missing: " << want;
    }
    EXPECT_EQ(1, rm.getSpriteCount());
    EXPECT_EQ(hero, rm.getSprite("hero"));
  }
}

TEST_F(ResourceManagerTest, GoodFilesGiveTheirSpritesUnderTheirLabels) {
  // Frames, width x height, slowdown, colour, transparency (0: none), frames' characters.
  const char* const cases[][2] = {
      {"good-simple.txt", "2 3x2 4 Red 0 [abcdef][ghijkl]"},
      {"good-simple-crlf.txt", "2 3x2 4 Red 0 [abcdef][ghijkl]"},
      {"good-robust.txt", "2 3x2 3 Green # [#a#bbb][ccc#d#]"},
      {"good-robust-crlf.txt", "2 3x2 3 Green # [#a#bbb][ccc#d#]"},
      {"good-robust-space.txt", "1 3x1 0 Cyan   [ a ]"},  // transparency " "
      {"good-robust-default.txt", "1 1x1 0 White 0 [o]"},
      // The later of two widths, "framesX1", slowdown -1 as none, unused lines.
      {"good-robust-lenient.txt", "1 2x1 0 White 0 [xy]"},
      // Widths in characters; a transparent character beyond ASCII; a byte order mark.
      {"good-utf8-robust.txt", "2 5x3 2 Yellow · [┌───┐│▓▒░│└───┘][╔═══╗║·█·║╚═══╝]"},
      {"good-utf8-simple-bom.txt", "1 4x1 0 Red 0 [←↑→↓]"},
      {"good-robust-colors.txt", "2 3x2 2 Green 0 [/-\\\\_/][*o*|||]"}};
  for (const auto& c : cases) {
    ASSERT_EQ(0, rm.loadSprite(spriteFile(c[0]), c[0])) << c[0];
    const tw::Sprite& s = *rm.getSprite(c[0]);
    const char32_t transparency = s.getTransparentCharacter();
    std::string transparent;  // in UTF-8; "0" for none
    tw::appendUtf8(transparent, transparency != 0 ? transparency : U'0');
    std::ostringstream shown;
    shown << s.getFrameCount() << " " << s.getWidth() << "x" << s.getHeight() << " "
          << s.getSlowdown() << " " << tw::colorToString(s.getColor()) << " " << transparent << " ";
    for (int f = 0; f < s.getFrameCount(); f++) shown << "[" << s.getFrame(f).getString() << "]";
    EXPECT_EQ(c[1], shown.str()) << c[0];
  }
  // A colour layer gives each cell its colour ('.' the sprite's) and, where
  // its palette says, a background; a file without one has none.
  const auto cell = [&](int frame, int i) {
    return rm.getSprite("good-robust-colors.txt")->getFrame(frame).getCellColors().at(i);
  };
  const tw::Rgb amber{255, 191, 0}, back{0x20, 0x20, 0x40}, green{0, 255, 0};
  EXPECT_EQ(cell(0, 0).fg, (tw::Rgb{255, 0, 0}));
  EXPECT_EQ(cell(0, 1).fg, green);
  EXPECT_EQ(cell(0, 2).fg, (tw::Rgb{255, 128, 0}));
  EXPECT_FALSE(cell(0, 2).has_background);
  EXPECT_TRUE(cell(0, 4).has_background && cell(0, 4).fg == amber && cell(0, 4).bg == back);
  EXPECT_EQ(cell(1, 1).fg, green);
  EXPECT_EQ(cell(1, 5).fg, (tw::Rgb{0, 0, 255}));
  EXPECT_TRUE(rm.getSprite("good-robust.txt")->getFrame(0).getCellColors().empty());
  // A label is looked up exactly, and gives the first sprite loaded under it.
  ASSERT_EQ(0, rm.loadSprite(spriteFile("good-robust.txt"), "good-simple.txt"));
  EXPECT_EQ(tw::RED, rm.getSprite("good-simple.txt")->getColor());
  // A file that cannot be opened is named with the folder it was looked for
  // in, in the log and once on standard error; so is a label not loaded.
  testing::internal::CaptureStderr();
  EXPECT_EQ(nullptr, rm.getSprite("Good-simple.txt"));
  for (const std::string& file : {dir.file("absent.txt"), dir.path()}) {
    EXPECT_EQ(-1, rm.loadSprite(file, "s"));
    EXPECT_TRUE(log.contains("RM::loadSprite(): Error! Cannot open file '" + file + "'."));
    const std::string folder = file.substr(0, file.rfind('/'));
    EXPECT_TRUE(log.contains("RM::loadSprite(): Note! '" + file + "' was looked for in '" + folder + "'."));
  }
  const std::string said = testing::internal::GetCapturedStderr();
  EXPECT_NE(said.find("Tarnwick: sprite file '" + dir.file("absent.txt") + "' not loaded (looked for it in '" +
                      dir.path() + "')"), std::string::npos) << said;
  EXPECT_NE(said.find("Tarnwick: no sprite 'Good-simple.txt'; loaded: good-simple.txt,"), std::string::npos) << said;
  EXPECT_EQ(11, rm.getSpriteCount());
}

// Each kind has a fixed number of slots: one past it is refused, and a
// failed load takes no slot.
TEST_F(ResourceManagerTest, SpritesSoundsAndMusicStopAtTheirLimits) {
  const std::string sprite = dir.write("s.txt", ONE_FRAME);
  for (int i = 0; i < tw::MAX_SPRITES; i++) ASSERT_EQ(0, rm.loadSprite(sprite, std::to_string(i)));
  EXPECT_EQ(-1, rm.loadSprite(sprite, "extra"));
  EXPECT_NE(nullptr, rm.getSprite("999"));
  EXPECT_EQ(-1, rm.loadSound(dir.write("bad.wav", "not a sound"), "bad"));
  EXPECT_EQ(0, rm.loadSound(tune(), ""));  // an empty label is accepted
  for (int i = 1; i < tw::MAX_SOUNDS; i++) ASSERT_EQ(0, rm.loadSound(tune(), std::to_string(i)));
  EXPECT_EQ(-1, rm.loadSound(tune(), "extra"));
  EXPECT_EQ("99", rm.getSound("99")->getLabel());
  EXPECT_EQ(nullptr, rm.getSound("extra"));
  EXPECT_EQ(-1, rm.loadMusic(tune(), ""));  // music needs a label
  EXPECT_EQ(-1, rm.loadMusic(dir.file("absent.wav"), "absent"));
  for (int i = 0; i < tw::MAX_MUSICS; i++) ASSERT_EQ(0, rm.loadMusic(tune(), std::to_string(i)));
  EXPECT_EQ(-1, rm.loadMusic(tune(), "extra"));
  EXPECT_EQ("49", rm.getMusic("49")->getLabel());
  EXPECT_EQ(nullptr, rm.getMusic("extra"));
}

// There is no audio device here: playing must neither fail nor write to
// standard error (let alone once per call).
TEST(Audio, LoadsRealWavFilesOnlyAndPlaysQuietly) {
  tw_test::LogCapture log;
  tw_test::TempDir dir;
  tw::Sound sound;
  tw::Music music, unopened;
  for (const std::string& bad : {dir.write("a.wav", "RIFF, no"), dir.file("b.ogg"), dir.path()}) {
    EXPECT_EQ(-1, sound.loadSound(bad)) << bad;
    EXPECT_EQ(-1, music.loadMusic(bad)) << bad;
  }
  EXPECT_EQ(0, sound.loadSound(tune()));
  EXPECT_EQ(0, music.loadMusic(tune()));
  const int saved_stderr = dup(STDERR_FILENO);
  const int quiet = open(dir.file("stderr.txt").c_str(), O_WRONLY | O_CREAT, 0600);
  dup2(quiet, STDERR_FILENO);
  sound.play(false), sound.play(true), sound.stop();
  music.play(true), music.stop(), unopened.play(false), unopened.stop();
  dup2(saved_stderr, STDERR_FILENO);
  close(quiet), close(saved_stderr);
  EXPECT_EQ("", tw_test::readFile(dir.file("stderr.txt")));
}

}  // namespace
