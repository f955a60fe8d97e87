// The best score kept between runs of the program: every bad state of its file
// or folder is logged and play goes on, a lower score never replaces a higher
// one, and writes leave no partial or temporary file behind.
#include <dirent.h>
#include <gtest/gtest.h>

#include <algorithm>

#include "engine/platform/Files.h"
#include "tests/game/GameFixture.h"

namespace {

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
  struct Case {
    std::string name, content;  // the file before ("-": none, "/": a folder)
    int loaded;                 // best score after loading
    const char* meanwhile;      // another copy of the game writes this first
    int offered;                // a finished run's score
    bool new_best;
    std::string after;  // the file afterwards ("-": none readable)
    const char* logged;
  };
  std::vector<Case> cases = {
      {"missing", "-", 0, nullptr, 5, true, "5\n", ""},
      {"unreadable", "/", 0, nullptr, 5, true, "-", "Cannot read"},
      {"folder cannot be written", "-", 0, nullptr, 5, true, "-", "Cannot keep"},
      {"nine digits", "999999999", 999999999, nullptr, 5, false, "999999999", ""},
      {"higher kept", "50\n", 50, nullptr, 30, false, "50\n", ""},
      {"equal kept", "50\n", 50, nullptr, 50, false, "50\n", ""},
      {"beaten", "10\n", 10, nullptr, 40, true, "40\n", ""},
      {"beaten meanwhile", "10\n", 10, "80\n", 40, true, "80\n", "not kept"},
  };
  // Broken files, one a file: none holds a best score, and the next is kept.
  const std::string corpus = std::string(std::getenv("TW_TEST_DATA")) + "/best-score/";
  for (const std::string& name : filesIn(corpus)) {
    cases.push_back({name, tw_test::readFile(corpus + name), 0, nullptr, 5, true, "5\n", "Ignored."});
  }
  ASSERT_GE(cases.size(), 18u);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string folder = c.name == "folder cannot be written" ? "/proc/tw-none/veld"
                                                                    : dir.file(std::to_string(&c - &cases[0]));
    const std::string file = folder + "/best-score";
    std::string why;
    tw::platform::makeFolders(c.content == "/" ? file : folder, why);
    if (c.content != "-" && c.content != "/") tw::platform::replaceFile(file, c.content, why);
    const std::size_t log_lines = logLines().size();
    veld::Profile::get().load(folder);
    EXPECT_EQ(veld::Profile::get().getBest(), c.loaded);
    if (c.meanwhile != nullptr) tw::platform::replaceFile(file, c.meanwhile, why);
    EXPECT_EQ(veld::Profile::get().offerScore(c.offered), c.new_best);
    std::string after;
    if (tw::platform::readWholeFile(file, 64, after) != tw::platform::ReadStatus::OK) after = "-";
    EXPECT_EQ(after, c.after);
    const std::vector<std::string> log = logLines();  // nothing logged when nothing is wrong
    EXPECT_EQ(std::any_of(log.begin() + static_cast<long>(log_lines), log.end(),
                          [&](const std::string& line) { return line.find(c.logged) != std::string::npos; }),
              *c.logged != '\0');
    EXPECT_LE(filesIn(folder).size(), 1u) << "a temporary file left";
  }
}

}  // namespace
