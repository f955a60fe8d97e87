// tw-sprite show --watch in a real terminal: every save of the file shows at
// once; a bad save keeps the last good sprite and lists its problems above it
// until a good save clears them.
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "tests/support/TestSupport.h"
#include "tests/support/TmuxDriver.h"

namespace {

bool screenHas(const tw_test::TmuxDriver& tmux, const std::string& text) {
  for (const std::string& row : tmux.rows()) {
    if (row.find(text) != std::string::npos) return true;
  }
  return false;
}

TEST(SpriteWatch, EverySaveShowsOrListsItsProblemsBesideTheLastGoodSprite) {
  tw_test::TempDir dir;
  const std::string file = dir.write("s.txt", "1\n3\n1\n1\nred\naaa\n");
  const std::string other = dir.file("s.new");
  tw_test::TmuxDriver tmux;
  ASSERT_TRUE(tmux.start(80, 24, "cd " + dir.path() + " && TARNWICK_LOG=" + dir.file("log") +
                                     " " TW_SPRITE_TOOL " show --terminal --watch s.txt; exec sleep 300"));
  ASSERT_TRUE(tw_test::waitUntil([&] { return screenHas(tmux, "aaa"); }));
  const struct {
    const char* name;
    std::function<void()> save;
    const char* shown;
    bool problem;  // "s.txt:6: ..." listed
  } saves[] = {
      {"valid", [&] { dir.write("s.txt", "1\n3\n1\n1\nred\nbbb\n"); }, "bbb", false},
      {"short row", [&] { dir.write("s.txt", "1\n3\n1\n1\nred\nbb\n"); }, "bbb", true},
      {"good again, by rename",
       [&] {
         dir.write("s.new", "1\n5\n1\n1\nred\nccccc\n");
         std::rename(other.c_str(), file.c_str());
       },
       "ccccc", false},
  };
  for (const auto& save : saves) {
    SCOPED_TRACE(save.name);
    save.save();
    EXPECT_TRUE(tw_test::waitUntil([&] {
      return screenHas(tmux, save.shown) && screenHas(tmux, "s.txt:6: ") == save.problem;
    }));
  }
  tmux.sendKeys("q");
}

}  // namespace
