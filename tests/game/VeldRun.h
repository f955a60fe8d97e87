// Veld started the way its program starts it, under the capture presenter and
// without pacing (frame time 0), for tests and benchmarks that play whole
// sessions step by step, recording or replaying them, several in one process.
#pragma once

#include <string>
#include <vector>

#include "engine/core/Config.h"
#include "engine/display/CapturePresenter.h"
#include "engine/display/DisplayManager.h"
#include "engine/loop/GameManager.h"
#include "engine/loop/Pause.h"
#include "engine/world/WorldManager.h"
#include "game/Controls.h"
#include "game/GameStart.h"
#include "game/Profile.h"
#include "game/Resources.h"

namespace tw_test {

class VeldRun {
 public:
  using Type = tw::platform::InputEvent::Type;

  // items: configuration items added to the run's own ("replay_file:..."),
  // data_folder: where the best score and mute choice are kept.
  VeldRun(const std::vector<std::string>& items, const std::string& data_folder) {
    tw::Config& config = tw::Config::getInstance();
    config.reset();
    config.clearOverrides();
    std::vector<std::string> all = {"display:capture", "networking:false", "random_seed:11", "frame_time:0"};
    all.insert(all.end(), items.begin(), items.end());
    for (const std::string& item : all) config.addOverride(item);
    ok = tw::GameManager::getInstance().startUp() == 0;
    if (!ok) return;
    veld::loadResources();
    veld::Profile::get().load(data_folder);
    new veld::Controls;
    new veld::GameStart;
    new tw::Pause(tw::Keyboard::F10);
  }
  ~VeldRun() {
    tw::WorldManager& world = tw::WorldManager::getInstance();
    const tw::ObjectList all = world.getAllObjects(true);
    for (int i = 0; world.isStarted() && i < all.getCount(); i++) world.markForDelete(all[i]);
    tw::GameManager::getInstance().shutDown();
  }
  VeldRun(const VeldRun&) = delete;
  VeldRun& operator=(const VeldRun&) = delete;

  bool started() const { return ok; }
  // One step of the game loop; false once the game is over.
  bool step() {
    tw::GameManager::getInstance().runStep();
    return !tw::GameManager::getInstance().getGameOver();
  }
  // The last finished frame: its characters, then its colours.
  static std::string frame() {
    const tw::CellGrid& grid = tw::DisplayManager::getInstance().snapshot();
    std::string text = grid.toText();
    for (int y = 0; y < grid.getHeight(); y++) text += grid.getColorRow(y) + "\n";
    return text;
  }
  static tw::CapturePresenter& presenter() {
    return *dynamic_cast<tw::CapturePresenter*>(tw::DisplayManager::getInstance().getPresenter());
  }
  // Queues a player's input for the next step (positions in cells).
  static void push(Type type, tw::platform::Key key, tw::Vector at = tw::Vector(),
                   tw::platform::MouseButton button = tw::platform::MouseButton::Left) {
    presenter().pushEvent({type, key, button, at.getX(), at.getY()});
  }
  // The first active object of the type, or null.
  static tw::Object* first(const std::string& type) {
    const tw::ObjectList all = tw::WorldManager::getInstance().getAllObjects();
    for (int i = 0; i < all.getCount(); i++) {
      if (all[i]->getType() == type) return all[i];
    }
    return nullptr;
  }

 private:
  bool ok = false;
};

}  // namespace tw_test
