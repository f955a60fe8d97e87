#include "game/Controls.h"

#include "engine/loop/GameManager.h"
#include "engine/display/DisplayManager.h"
#include "engine/input/EventKeyboard.h"
#include "engine/world/WorldManager.h"
#include "game/Profile.h"
#include "game/Resources.h"

namespace veld {

namespace {
// The pause box, centred on the screen.
const char* const PAUSED_BOX[] = {
    "+--------------------------------+",
    "|                                |",
    "|             PAUSED             |",
    "|                                |",
    "|   P or Esc: play    Q: quit    |",
    "+--------------------------------+",
};
const int PAUSED_BOX_ROWS = sizeof(PAUSED_BOX) / sizeof(PAUSED_BOX[0]);
}  // namespace

Controls::Controls() {
  setType(CONTROLS_TYPE);
  setSolidness(tw::SPECTRAL);
  setAltitude(tw::MAX_ALTITUDE);
  registerInterest(tw::KEYBOARD_EVENT);
}

bool Controls::survivesClearing(const tw::Object* p_o) { return p_o->getType() == CONTROLS_TYPE; }

// A run is on while the runner lives.
bool Controls::runInProgress() {
  const tw::ObjectList all = tw::WorldManager::getInstance().getAllObjects();
  for (int i = 0; i < all.getCount(); i++) {
    if (all[i]->getType() == "Player") return true;
  }
  return false;
}

int Controls::eventHandler(const tw::Event* p_e) {
  const auto* p_key = p_e->as<tw::EventKeyboard>();
  if (p_key == nullptr) return 0;
  if (p_key->getKeyboardAction() == tw::KEY_PRESSED) pressed(p_key->getKey());
  return 1;
}

// The controls hear keys before the screens do (they are made first), so P
// on the start screen is seen here before it starts a run.
void Controls::pressed(int key) const {
  tw::GameManager& game = tw::GameManager::getInstance();
  if (key == tw::Keyboard::M) {
    Profile::get().toggleMute();
  } else if (key == tw::Keyboard::ESCAPE || key == tw::Keyboard::P) {
    if (game.isPaused()) {
      game.setPaused(false);
    } else if (runInProgress()) {
      game.setPaused(true);
    }
  } else if (key == tw::Keyboard::Q && game.isPaused()) {
    game.shutDown();
  }
}

int Controls::draw() {
  if (Profile::get().isMuted()) drawCentred(0, "MUTED", tw::WHITE);
  if (!tw::GameManager::getInstance().isPaused()) return 0;
  const int top = tw::DisplayManager::getInstance().getVerticalChars() / 2 - PAUSED_BOX_ROWS / 2;
  for (int row = 0; row < PAUSED_BOX_ROWS; row++) drawCentred(top + row, PAUSED_BOX[row], tw::WHITE);
  return 0;
}

}  // namespace veld
