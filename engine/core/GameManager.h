// The game manager: starts every other manager in a fixed order, runs the
// fixed-rate game loop and stops the managers again in reverse order.
#pragma once

#include "engine/core/Manager.h"

namespace tw {

class GameManager : public Manager {
 public:
  static GameManager& getInstance();

  // Accepts exactly "tw-step".
  bool isValid(std::string event_type) const override;
  ~GameManager() override;
  int startUp() override;
  void shutDown() override;

  // Runs the loop until game over (at least one iteration).
  void run();
  void setGameOver(bool new_game_over = true);
  bool getGameOver() const;
  int getFrameTime() const;  // milliseconds
  int getStepCount() const;

 private:
  GameManager();
  GameManager(const GameManager&) = delete;
  void operator=(const GameManager&) = delete;
  void writeBanner() const;
  void writeWorkingDirectory() const;
  int startEngineManagers();
  void sizeWorld();
  void seedRandom() const;
  void serveNetwork() const;
  void runOneStep(int& adjust);
  void sleepOutFrame(const class Clock& clock, int& adjust);
  void stopEngineManagers();

  bool game_over;
  int frame_time;  // milliseconds
  int step_count;
};

}  // namespace tw
