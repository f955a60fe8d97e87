// The file watcher, notified and polled: the ways a file is saved each show
// as one change of that file, and a file nobody watches never does.
#include "engine/platform/FileWatcher.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "tests/support/TestSupport.h"

namespace {

// The changes taken until one arrives, for at most 20 s (the fallback looks once a second).
std::vector<std::string> waitForChanges(tw::platform::FileWatcher& watcher) {
  const auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  std::vector<std::string> changed;
  while (changed.empty() && std::chrono::steady_clock::now() < give_up) {
    changed = watcher.takeChanges();
  }
  return changed;
}

TEST(FileWatcher, EveryWayOfSavingIsOneChangeNotifiedOrPolled) {
  for (const bool notified : {true, false}) {
    SCOPED_TRACE(notified ? "notified" : "polled");
    tw_test::TempDir dir;
    const std::string file = dir.write("a.txt", "one");
    const std::string other = dir.file("a.txt.new");
    tw::platform::FileWatcher watcher(notified);
    watcher.watch(file);
    watcher.watch(file);
    EXPECT_EQ(watcher.getWatchCount(), 1);
    EXPECT_EQ(watcher.isNotified(file), notified);
    const struct {
      const char* name;
      std::function<void()> save;
    } saves[] = {
        {"written in place", [&] { dir.write("a.txt", "two!"); }},
        {"renamed over",
         [&] {
           dir.write("a.txt.new", "three");
           std::rename(other.c_str(), file.c_str());
         }},
        {"deleted and written again",
         [&] {
           std::remove(file.c_str());
           dir.write("b.txt", "a file nobody watches");
           dir.write("a.txt", "four");
         }},
    };
    for (const auto& save : saves) {
      SCOPED_TRACE(save.name);
      save.save();
      EXPECT_EQ(waitForChanges(watcher), std::vector<std::string>{file});
    }
    tw::platform::FileWatcher::reportChanged(dir.file("b.txt"));
    tw::platform::FileWatcher::reportChanged(file);
    EXPECT_EQ(watcher.takeChanges(), std::vector<std::string>{file});
  }
}

}  // namespace
