#include "engine/display/FontLookup.h"

#include <gtest/gtest.h>

#include "engine/platform/Files.h"
#include "tests/support/TestSupport.h"

// The font is taken from the first place that has it: the configured path,
// then its file name beside the program, then in the installed folder; each
// place tried before is logged.
TEST(FontLookup, TakesTheFirstPlaceThatHasTheFontAndLogsEachMiss) {
  tw_test::LogCapture log;
  const struct {
    const char* font;  // where a file lies ("" nowhere, a trailing '/' a folder)
    const char* found;
    std::size_t misses;
  } cases[] = {{"work/my.ttf", "work/my.ttf", 0}, {"bin/my.ttf", "bin/my.ttf", 1},
               {"share/my.ttf", "share/my.ttf", 2}, {"share/my.ttf/", "", 3},
               {"", "", 3}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.font);
    tw_test::TempDir dir;
    const std::string root = dir.path() + "/";
    const std::string font = c.font;
    std::string why;
    for (const char* folder : {"work", "bin", "share"}) tw::platform::makeFolders(root + folder, why);
    if (!font.empty() && font.back() == '/') {
      tw::platform::makeFolders(root + font, why);
    } else if (!font.empty()) {
      dir.write(font, "a font");
    }
    const std::size_t before = log.messages().size();
    const std::string found = tw::findFont(root + "work/my.ttf", root + "bin", root + "share");
    EXPECT_EQ(found, c.found[0] == '\0' ? "" : root + c.found);
    EXPECT_EQ(log.messages().size() - before, c.misses);
  }
}
