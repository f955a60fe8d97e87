// The best score kept between runs of the program: every bad state of its file
// or folder is logged and play goes on, a lower score never replaces a higher
// one, and writes leave no partial or temporary file behind.
#include <dirent.h>
#include <gtest/gtest.h>

#include "engine/platform/Files.h"
#include "tests/game/GameFixture.h"

namespace {

struct BestCase {
  const char* name;
  const char* content;         // the file before start (null: no file)
  bool folder_is_the_file;     // a folder stands where the file should be
  bool folder_unwritable;      // the data folder cannot be created
  int loaded;                  // best score shown after loading
  const char* written_meanwhile;  // another copy of the game writes this first
  int offered;                 // a finished run's score
  bool new_best;
  const char* after;           // the file afterwards (null: still no readable file)
  const char* logged;          // a log line that must appear ("" for none)
};

const BestCase CASES[] = {
    {"missing", nullptr, false, false, 0, nullptr, 5, true, "5\n", ""},
    {"empty", "", false, false, 0, nullptr, 5, true, "5\n", "does not hold a number"},
    {"corrupt", "12abc\n", false, false, 0, nullptr, 5, true, "5\n", "does not hold a number"},
    {"huge number", "99999999999999999999\n", false, false, 0, nullptr, 5, true, "5\n",
     "does not hold a number"},
    {"huge file", "HUGE", false, false, 0, nullptr, 5, true, "5\n", "is too large"},
    {"unreadable", nullptr, true, false, 0, nullptr, 5, true, nullptr, "Cannot read"},
    {"folder cannot be written", nullptr, false, true, 0, nullptr, 5, true, nullptr,
     "Cannot keep 'best-score'"},
    {"higher kept", "50\n", false, false, 50, nullptr, 30, false, "50\n", ""},
    {"beaten", "10\n", false, false, 10, nullptr, 40, true, "40\n", ""},
    {"beaten meanwhile", "10\n", false, false, 10, "80\n", 40, true, "80\n", "not kept"},
};

int leftovers(const std::string& folder) {
  DIR* p_dir = opendir(folder.c_str());
  if (p_dir == nullptr) return 0;
  int n = 0;
  while (const dirent* p_entry = readdir(p_dir)) {
    n += std::string(p_entry->d_name).find(".tmp") != std::string::npos;
  }
  closedir(p_dir);
  return n;
}

class ProfileTest : public tw_test::GameFixture {};

TEST_F(ProfileTest, BestScoreFileProblemsNeverStopTheGame) {
  int index = 0;
  for (const BestCase& c : CASES) {
    SCOPED_TRACE(c.name);
    const std::string folder = c.folder_unwritable ? "/proc/tw-no-such-folder/veld"
                                                   : dir.path() + "/case" + std::to_string(index++);
    const std::string file = folder + "/best-score";
    std::string why;
    if (!c.folder_unwritable) {
      ASSERT_EQ(tw::platform::makeFolders(folder, why), 0) << why;
    }
    if (c.folder_is_the_file) {
      ASSERT_EQ(tw::platform::makeFolders(file, why), 0) << why;
    }
    if (c.content != nullptr) {
      const bool huge = std::string(c.content) == "HUGE";
      ASSERT_EQ(tw::platform::replaceFile(file, huge ? std::string(1 << 20, '7') : c.content, why), 0);
    }
    veld::Profile& profile = veld::Profile::get();
    profile.load(folder);
    EXPECT_EQ(profile.getBest(), c.loaded);
    if (c.written_meanwhile != nullptr) tw::platform::replaceFile(file, c.written_meanwhile, why);
    EXPECT_EQ(profile.offerScore(c.offered), c.new_best);
    std::string after;
    const bool readable =
        tw::platform::readWholeFile(file, 64, after) == tw::platform::ReadStatus::OK;
    EXPECT_EQ(readable, c.after != nullptr);
    if (c.after != nullptr) {
      EXPECT_EQ(after, c.after);
    }
    if (*c.logged != '\0') {
      EXPECT_TRUE(logHas(c.logged));
    }
    EXPECT_EQ(leftovers(folder), 0);
  }
}

TEST_F(ProfileTest, SaveFileTakesOnlyPlainNumbers) {
  int value = -1;
  EXPECT_TRUE(veld::SaveFile::parse("0\n", value));
  EXPECT_EQ(value, 0);
  EXPECT_TRUE(veld::SaveFile::parse("999999999", value));
  EXPECT_EQ(value, 999999999);
  for (const char* bad : {"", "\n", "-3\n", "1 2\n", "7\n\n", "+4", "1000000000"}) {
    EXPECT_FALSE(veld::SaveFile::parse(bad, value)) << bad;
  }
}

}  // namespace
