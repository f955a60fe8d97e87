// The game manager: starts every other manager in a fixed order, runs the
// fixed-rate game loop and stops the managers again in reverse order. It also
// holds the paused state, in which the loop reads input and draws but the
// world stands still.
#pragma once

#include "engine/platform/Export.h"
#include "engine/core/Manager.h"

namespace tw {

class Clock;

class TW_API GameManager : public Manager {
 public:
  static GameManager& getInstance();

  // Accepts exactly "tw-step".
  bool isValid(std::string event_type) const override;
  ~GameManager() override;
  // 0, or -1 after one line on standard error saying what failed; the
  // managers it had started are stopped again then (the log stays open
  // until shutDown).
  int startUp() override;
  void shutDown() override;

  // Runs the loop until game over (at least one iteration).
  void run();
  // One iteration of the loop; run() repeats it. For tools and tests that
  // drive the loop themselves.
  void runStep();
  void setGameOver(bool new_game_over = true);
  bool getGameOver() const;
  // While paused the loop keeps reading input and drawing (animations held),
  // but sends no step events, moves nothing and searches no paths; the step
  // count stands still.
  void setPaused(bool new_paused);
  bool isPaused() const;
  // Turn-based play: each frame the loop reads input, and runs a step (step
  // event, moves, drawing, and the frame shown at once) only when the frame
  // delivered input, after requestRedraw(), or while an object moves or
  // animates or a path search is pending. A waiting frame draws and shows
  // nothing, and the step count stands still. On with loop_mode:turns, or
  // here at any time; a recording keeps the mode and its replay takes it.
  void setTurnBased(bool new_turn_based);
  bool isTurnBased() const;
  // The port browsers watch this game on (the spectate_port setting, the
  // port found when it was 0), or -1 when nobody may watch.
  int getSpectatePort() const;
  // One step in the next frame of turn-based play (a game's own timer, say).
  void requestRedraw();
  int getFrameTime() const;  // milliseconds
  int getStepCount() const;

 private:
  void reportStartFailure() const;
  GameManager();
  GameManager(const GameManager&) = delete;
  void operator=(const GameManager&) = delete;
  void writeBanner() const;
  void writeWorkingDirectory() const;
  int startEngineManagers();
  void sizeWorld();
  void takeReplaySettings();
  void seedRandom() const;
  void serveNetwork() const;
  void cyclePaths(const Clock& clock) const;
  void drawPaused() const;
  void runTurn();
  bool worldMoves() const;
  void takeLoopMode();
  void sleepOutFrame(const Clock& clock);
  // phase_us: one time per debug overlay phase (microseconds).
  void finishStep(int* phase_us, int step_us) const;
  void stopEngineManagers();

  bool paused;
  bool turn_based = false;
  bool redraw_wanted = true;  // turn-based: step in the next frame
  int adjust;  // microseconds of oversleep carried from the previous frame
};

}  // namespace tw
