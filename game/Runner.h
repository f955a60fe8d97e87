// The player's runner: jumps with SPACE, ducks while S is held, gives up with
// Q and fires toward the mouse pointer. Its destruction ends the run. While
// the game is paused it takes no input.
#pragma once

#include "engine/world/Object.h"

namespace tw {
class Sound;
}

namespace veld {

class Reticle;

const float JUMP_SPEED = -1.5f;  // rows per step, upwards
const float GRAVITY = 0.13f;     // rows per step per step
const int FIRE_SLOWDOWN = 40;    // steps between shots

class Runner : public tw::Object {
 public:
  explicit Runner(tw::Vector position);
  ~Runner() override;
  int eventHandler(const tw::Event* p_e) override;

  void duck(bool down);
  void fire(tw::Vector target);

  bool isOnGround() const { return on_ground; }
  bool isDucking() const { return is_ducking; }
  int getFireCountdown() const { return fire_countdown; }
  Reticle* getReticle() const { return reticle; }

 private:
  int handleKeyboard(const tw::Event* p_e);
  int handleMouse(const tw::Event* p_e);
  int pausedInput(const tw::Event* p_e);
  void step();

  tw::Vector jump_velocity;  // only y is used, rows per step
  tw::Sound* jump_sound;     // not owned
  float ground_y;            // the row the runner stands on
  bool on_ground;
  bool is_ducking;
  Reticle* reticle;  // not owned, never deleted by the runner
  int fire_countdown;
  int fire_slowdown;
  bool stand_up_pending = false;  // S was released while the game was paused
};

}  // namespace veld
