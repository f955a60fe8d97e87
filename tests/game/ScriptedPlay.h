// A scripted Veld player for the capture presenter: before each loop step it
// looks at the world and queues what a player would do there (start a run,
// jump boulders and panthers, duck vultures, shoot enemies, pause and mute
// once a run), stops dodging after a while so that runs end, and quits on the
// start screen after the runs asked for. Recording its play gives long,
// varied runs for replay tests and benchmarks.
#pragma once

#include "game/Runner.h"
#include "tests/game/VeldRun.h"

namespace tw_test {

class ScriptedPlay {
 public:
  struct Seen {
    int jumps = 0, ducks = 0, shots = 0, pauses = 0, mutes = 0, starts = 0, game_overs = 0, give_ups = 0;
  };

  ScriptedPlay(int runs_wanted, int dodge_steps) : runs(runs_wanted), dodging(dodge_steps) {}

  // Queues this step's input (in VeldRun::presenter()).
  void beforeStep(tw::CapturePresenter& /* presenter */) {
    steps++;
    if (VeldRun::first("GameOver") != nullptr) {
      if (over_steps++ == 0) seen.game_overs++;
      if (over_steps == 25) tap(Key::P, seen.starts);
      return;
    }
    over_steps = 0;
    const auto* p_runner = dynamic_cast<const veld::Runner*>(VeldRun::first("Player"));
    if (p_runner == nullptr) {  // the start screen: P after a while, Q after the runs wanted
      run_steps = 0;
      if (cooldown-- > 0) return;
      cooldown = 5;
      return tap(seen.game_overs >= runs ? Key::Q : Key::P, seen.starts);
    }
    if (tw::GameManager::getInstance().isPaused()) {
      if (++paused_steps % 20 == 0) tap(Key::Escape, seen.pauses);
      return;
    }
    run_steps++;
    if (run_steps == 60) tap(Key::Escape, seen.pauses);
    if (run_steps == 100 || run_steps == 160) tap(Key::M, seen.mutes);
    if (run_steps == dodging + 900) tap(Key::Q, seen.give_ups);  // nothing hit it
    if (run_steps <= dodging) dodge(*p_runner);
  }

  Seen seen;

 private:
  using Key = tw::platform::Key;
  using Type = tw::platform::InputEvent::Type;

  // Jumps what runs at it, ducks what flies at it, shoots enemies in view.
  void dodge(const veld::Runner& runner) {
    bool vulture_near = false;
    const tw::ObjectList all = tw::WorldManager::getInstance().getAllObjects();
    for (int i = 0; i < all.getCount(); i++) {
      const std::string type = all[i]->getType();
      const tw::Vector at = all[i]->getPosition();
      const float ahead = at.getX() - runner.getPosition().getX();
      if (type == "Vulture" && ahead > -3 && ahead < 12) vulture_near = true;
      if ((type == "Boulder" || type == "Panther") && ahead > 0 && ahead < 8 &&
          runner.isOnGround() && !runner.isDucking()) {
        tap(Key::Space, seen.jumps);
      }
      if ((type == "Panther" || type == "Vulture") && at.getX() < 78 && runner.getFireCountdown() == 0 &&
          last_shot != steps) {
        last_shot = steps;
        VeldRun::push(Type::MouseMoved, Key::Unknown, at);
        VeldRun::push(Type::MouseButtonPressed, Key::Unknown, at);
        VeldRun::push(Type::MouseButtonReleased, Key::Unknown, at);
        seen.shots++;
      }
    }
    const bool down = vulture_near || (run_steps >= 30 && run_steps < 40);  // one duck early on
    if (down != ducking) VeldRun::push(down ? Type::KeyPressed : Type::KeyReleased, Key::S);
    seen.ducks += down && !ducking;
    ducking = down;
  }

  void tap(Key key, int& count) {
    VeldRun::push(Type::KeyPressed, key);
    VeldRun::push(Type::KeyReleased, key);
    count++;
  }
  int runs, dodging;  // runs wanted; steps of a run in which the player dodges and shoots
  int steps = 0, run_steps = 0, over_steps = 0, paused_steps = 0, cooldown = 0, last_shot = -1;
  bool ducking = false;
};

}  // namespace tw_test
