// A game started with hot reload on, frames shown by the capture presenter,
// its configuration and data files in one temporary folder: frames are run
// until what a test waits for shows, as a player would watch the screen.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <string>

#include "engine/display/CellGrid.h"
#include "engine/display/DisplayManager.h"
#include "engine/loop/GameManager.h"
#include "tests/support/EngineFixtures.h"

namespace tw_test {

class ReloadingGame : public ::testing::Test {
 protected:
  static constexpr const char* SETTINGS =
      "display:capture,networking:false,hot_reload:true,";

  void SetUp() override {
    ASSERT_EQ(tw::GameManager::getInstance().startUp(), 0);
    tw::LogManager::getInstance().setFlush(true);  // the test reads the log as it grows
  }
  void TearDown() override {
    if (tw::GameManager::getInstance().isStarted()) tw::GameManager::getInstance().shutDown();
  }
  // Runs frames until done() holds, for at most 20 s (a busy machine); true when it held.
  static bool runUntil(const std::function<bool()>& done) {
    const auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!done()) {
      if (std::chrono::steady_clock::now() > give_up) return false;
      tw::GameManager::getInstance().runStep();
    }
    return true;
  }
  // Row y of the last frame shown.
  static std::string row(int y) { return tw::DisplayManager::getInstance().snapshot().getRow(y); }
  static bool shows(int y, const std::string& text) {
    return row(y).find(text) != std::string::npos;
  }
  int logCount(const std::string& text) const {
    int n = 0;
    for (const std::string& line : engine.logLines()) n += line.find(text) != std::string::npos;
    return n;
  }

  ConfiguredEngine engine{std::string(SETTINGS) + "frame_time:0"};
};

}  // namespace tw_test
