#include "engine/core/LoopState.h"

namespace tw {

LoopState& LoopState::getInstance() {
  static LoopState state;
  return state;
}

void LoopState::setGameOver(bool new_game_over) { game_over = new_game_over; }

bool LoopState::getGameOver() const { return game_over; }

void LoopState::setStepCount(int new_step_count) { step_count = new_step_count; }

int LoopState::getStepCount() const { return step_count; }

void LoopState::setFrameTime(int milliseconds) { frame_time = milliseconds; }

int LoopState::getFrameTime() const { return frame_time; }

}  // namespace tw
