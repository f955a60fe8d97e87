// The browser page behind the full-screen figure: 80 x 24 changing
// characters every step at Veld's frame time for 600 steps, then the game
// ends. bench/web/figures.mjs reads the page's time per step.
#include "bench/ScreenFill.h"
#include "engine/core/Config.h"

int main() {
  tw::Config::getInstance().addOverride("networking:false,frame_time:33");
  tw::GameManager& game = tw::GameManager::getInstance();
  if (game.startUp() != 0) return 1;
  new tw_bench::ScreenFill(600);
  game.run();
  game.shutDown();
  return 0;
}
