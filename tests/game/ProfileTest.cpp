// The best score kept between runs of the program: every bad state of its file
// or folder is logged and play goes on, a lower score never replaces a higher
// one, and writes leave no partial or temporary file behind.
#include <dirent.h>
#include <gtest/gtest.h>

#include <algorithm>

#include "engine/platform/Files.h"
#include "tests/game/GameFixture.h"

namespace {

struct BestCase {
  std::string name;
  const char* content;            // the file before (null: none)
  bool folder_is_the_file;        // a folder stands where the file should be
  int loaded;                     // best score after loading
  const char* written_meanwhile;  // another copy of the game writes this first
  int offered;                    // a finished run's score
  bool new_best;
  const char* after;  // the file afterwards (null: no readable file)
  const char* logged;
};

std::vector<std::string> filesIn(const std::string& folder) {
  std::vector<std::string> names;
  DIR* p_dir = opendir(folder.c_str());
  while (const dirent* p_entry = p_dir != nullptr ? readdir(p_dir) : nullptr) {
    if (p_entry->d_name[0] != '.') names.push_back(p_entry->d_name);
  }
  if (p_dir != nullptr) closedir(p_dir);
  return names;
}

class ProfileTest : public tw_test::GameFixture {};

TEST_F(ProfileTest, BestScoreFileProblemsNeverStopTheGame) {
  std::vector<BestCase> cases = {
      {"missing", nullptr, false, 0, nullptr, 5, true, "5\n", ""},
      {"unreadable", nullptr, true, 0, nullptr, 5, true, nullptr, "Cannot read"},
      {"folder cannot be written", nullptr, false, 0, nullptr, 5, true, nullptr, "Cannot keep"},
      {"nine digits", "999999999", false, 999999999, nullptr, 5, false, "999999999", ""},
      {"higher kept", "50\n", false, 50, nullptr, 30, false, "50\n", ""},
      {"equal kept", "50\n", false, 50, nullptr, 50, false, "50\n", ""},
      {"beaten", "10\n", false, 10, nullptr, 40, true, "40\n", ""},
      {"beaten meanwhile", "10\n", false, 10, "80\n", 40, true, "80\n", "not kept"},
  };
  // Broken files, one a file: none holds a best score, each is replaced whole.
  const std::string corpus = std::string(std::getenv("TW_TEST_DATA")) + "/best-score/";
  std::vector<std::pair<std::string, std::string>> broken;
  for (const std::string& name : filesIn(corpus)) broken.emplace_back(name, tw_test::readFile(corpus + name));
  ASSERT_GE(broken.size(), 10u);
  for (const auto& [name, content] : broken) {
    cases.push_back({name, content.c_str(), false, 0, nullptr, 5, true, "5\n", "Ignored."});
  }
  for (const BestCase& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string folder = c.name == "folder cannot be written" ? "/proc/tw-none/veld"
                                                                    : dir.file(std::to_string(&c - &cases[0]));
    const std::string file = folder + "/best-score";
    std::string why;
    tw::platform::makeFolders(c.folder_is_the_file ? file : folder, why);
    if (c.content != nullptr) tw::platform::replaceFile(file, c.content, why);
    const std::size_t log_before = logLines().size();
    veld::Profile& profile = veld::Profile::get();
    profile.load(folder);
    EXPECT_EQ(profile.getBest(), c.loaded);
    if (c.written_meanwhile != nullptr) tw::platform::replaceFile(file, c.written_meanwhile, why);
    EXPECT_EQ(profile.offerScore(c.offered), c.new_best);
    std::string after;
    const bool readable = tw::platform::readWholeFile(file, 64, after) == tw::platform::ReadStatus::OK;
    EXPECT_EQ(readable, c.after != nullptr);
    if (c.after != nullptr) {
      EXPECT_EQ(after, c.after);
    }
    const std::vector<std::string> log = logLines();
    EXPECT_EQ(std::any_of(log.begin() + static_cast<long>(log_before), log.end(),
                          [&](const std::string& line) { return line.find(c.logged) != std::string::npos; }),
              *c.logged != '\0');
    EXPECT_LE(filesIn(folder).size(), 1u) << "a temporary file left";
  }
}

}  // namespace
