// A scripted Veld player for the capture presenter: before each loop step it
// looks at the world and queues what a player would do there (start a run,
// jump boulders and panthers, duck vultures, shoot enemies, pause and mute
// once a run), stops dodging after a while so that runs end, and quits on the
// start screen after the runs asked for. Recording its play gives long,
// varied runs for replay tests and benchmarks.
#pragma once

#include <cmath>
#include <vector>

#include "engine/loop/GameManager.h"
#include "engine/display/CapturePresenter.h"
#include "engine/world/WorldManager.h"
#include "game/Runner.h"

namespace tw_test {

class ScriptedPlay {
 public:
  struct Seen {
    int jumps = 0, ducks = 0, shots = 0, pauses = 0, mutes = 0, starts = 0, game_overs = 0;
    int give_ups = 0;
  };

  ScriptedPlay(int runs_wanted, int dodge_steps) : runs(runs_wanted), dodging(dodge_steps) {}

  // Queues this step's input.
  void beforeStep(tw::CapturePresenter& presenter) {
    p_presenter = &presenter;
    releaseDue();
    tw::Object* p_over = first("GameOver");
    if (p_over != nullptr) return onGameOver();
    over_steps = 0;
    auto* p_runner = dynamic_cast<veld::Runner*>(first("Player"));
    if (p_runner == nullptr) return onStartScreen();
    if (tw::GameManager::getInstance().isPaused()) return whilePaused();
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
  struct Release {
    int step;
    tw::platform::InputEvent event;
  };

  static tw::Object* first(const char* type) {
    const tw::ObjectList all = tw::WorldManager::getInstance().getAllObjects();
    for (int i = 0; i < all.getCount(); i++) {
      if (all[i]->getType() == type) return all[i];
    }
    return nullptr;
  }

  void onGameOver() {
    if (over_steps++ == 0) seen.game_overs++;
    if (over_steps == 25) tap(Key::P, seen.starts);
  }

  void onStartScreen() {
    run_steps = 0;
    if (cooldown > 0) {
      cooldown--;
      return;
    }
    cooldown = 5;
    if (seen.game_overs >= runs) {
      push(Type::KeyPressed, Key::Q);
      return;
    }
    tap(Key::P, seen.starts);
  }

  void whilePaused() {
    if (++paused_steps % 20 == 0) tap(Key::Escape, seen.pauses);
  }

  // Jumps what runs at it, ducks what flies at it, shoots enemies in view.
  void dodge(const veld::Runner& runner) {
    const tw::Vector me = runner.getPosition();
    bool vulture_near = false;
    const tw::ObjectList all = tw::WorldManager::getInstance().getAllObjects();
    for (int i = 0; i < all.getCount(); i++) {
      const std::string type = all[i]->getType();
      const tw::Vector at = all[i]->getPosition();
      const float ahead = at.getX() - me.getX();
      if (type == "Vulture" && ahead > -3 && ahead < 12) vulture_near = true;
      if ((type == "Boulder" || type == "Panther") && ahead > 0 && ahead < 8 &&
          runner.isOnGround() && !runner.isDucking()) {
        tap(Key::Space, seen.jumps);
      }
      if ((type == "Panther" || type == "Vulture") && at.getX() < 78 &&
          runner.getFireCountdown() == 0) {
        shoot(at);
      }
    }
    duck(vulture_near || (run_steps >= 30 && run_steps < 40));  // and one duck early on
  }

  void duck(bool down) {
    if (down == ducking) return;
    ducking = down;
    push(down ? Type::KeyPressed : Type::KeyReleased, Key::S);
    if (down) seen.ducks++;
  }

  void shoot(tw::Vector at) {
    if (last_shot == step()) return;
    last_shot = step();
    push(Type::MouseMoved, Key::Unknown, at);
    push(Type::MouseButtonPressed, Key::Unknown, at);
    later(Type::MouseButtonReleased, Key::Unknown, at);
    seen.shots++;
  }

  void tap(Key key, int& count) {
    push(Type::KeyPressed, key);
    later(Type::KeyReleased, key, tw::Vector());
    count++;
  }

  static tw::platform::InputEvent event(Type type, Key key, tw::Vector at) {
    tw::platform::InputEvent e;
    e.type = type;
    e.key = key;
    e.x = at.getX();
    e.y = at.getY();
    return e;
  }
  void push(Type type, Key key, tw::Vector at = tw::Vector()) {
    p_presenter->pushEvent(event(type, key, at));
  }
  void later(Type type, Key key, tw::Vector at) { releases.push_back({step() + 2, event(type, key, at)}); }
  void releaseDue() {
    steps++;
    std::vector<Release> waiting;
    for (const Release& r : releases) {
      if (r.step <= step()) {
        p_presenter->pushEvent(r.event);
      } else {
        waiting.push_back(r);
      }
    }
    releases.swap(waiting);
  }
  int step() const { return steps; }

  int runs;
  int dodging;  // steps of a run in which the player still dodges and shoots
  tw::CapturePresenter* p_presenter = nullptr;
  std::vector<Release> releases;
  int steps = 0;
  int run_steps = 0;
  int over_steps = 0;
  int paused_steps = 0;
  int cooldown = 0;
  int last_shot = -1;
  bool ducking = false;
};

}  // namespace tw_test
