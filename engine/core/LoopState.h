// What every layer may read of the running game loop: whether the game is
// over, the step count and the frame time. The game manager (above every
// manager) writes them; the managers below it read them, or end the game.
#pragma once

namespace tw {

class LoopState {
 public:
  static LoopState& getInstance();

  void setGameOver(bool new_game_over = true);
  bool getGameOver() const;
  void setStepCount(int new_step_count);
  int getStepCount() const;
  void setFrameTime(int milliseconds);
  int getFrameTime() const;  // milliseconds

 private:
  LoopState() = default;
  LoopState(const LoopState&) = delete;
  void operator=(const LoopState&) = delete;

  bool game_over = false;
  int step_count = 0;
  int frame_time = 0;  // milliseconds; set when the game manager starts
};

}  // namespace tw
