// One whole frame of the real loop without a window: the game manager's step
// (step event, input, world update with collisions, drawing into the capture
// presenter, the swap) under a Veld-like load of 1,000 moving sprites of
// 5 x 3 characters (the goal is at most 1 ms per frame), and under a full
// 80 x 24 screen of changing characters (beside the browser page's figure).
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>

#include "engine/core/Config.h"
#include "engine/core/LogManager.h"
#include "engine/display/DisplayManager.h"
#include "engine/display/DrawList.h"
#include "engine/loop/GameManager.h"
#include "engine/resources/ResourceManager.h"
#include "engine/world/EventOut.h"
#include "engine/world/Object.h"
#include "engine/world/WorldManager.h"
#include "bench/ScreenFill.h"

namespace {

// A 5 x 3 creature sprite in the simple format, as Veld's enemies are drawn.
const char* const SPRITE =
    "2\n5\n3\n4\ngreen\n"
    "/o o\\\n|---|\n/   \\\n"
    "\\o o/\n|---|\n\\   /\n";

class Runner : public tw::Object {
 public:
  explicit Runner(int i) {
    setType("Runner");
    setSprite("creature");
    setSolidness(tw::SPECTRAL);  // scenery-like: drawn and moved, colliding with nothing
    setPosition(tw::Vector(static_cast<float>(i % 76 + 2), static_cast<float>(i / 76 % 20 + 2)));
    setVelocity(tw::Vector(i % 2 == 0 ? 0.25f : -0.25f, 0.0f));
  }
  // Leaving one side, it comes back on the other, as Veld's ground and trees do.
  int eventHandler(const tw::Event* p_e) override {
    if (p_e->getType() != tw::OUT_EVENT) return 0;
    const float x = getPosition().getX() < 0 ? 79.0f : 0.0f;
    setPosition(tw::Vector(x, getPosition().getY()));
    return 1;
  }
};

// Starts the engine under the capture presenter with the creature sprite.
bool startEngine() {
  const std::string dir = "/tmp/tw-bench-frame";
  std::system(("mkdir -p " + dir).c_str());
  const std::string sprite_file = dir + "/creature.txt";
  std::FILE* file = std::fopen(sprite_file.c_str(), "w");
  std::fputs(SPRITE, file);
  std::fclose(file);
  setenv("TARNWICK_LOG", "/dev/null", 1);
  setenv("TARNWICK_CONFIG", "/dev/null/none", 1);
  tw::Config::getInstance().addOverride("display:capture,networking:false,frame_time:0");
  tw::GameManager& game = tw::GameManager::getInstance();
  if (game.startUp() != 0 ||
      tw::ResourceManager::getInstance().loadSprite(sprite_file, "creature") != 0) {
    return false;
  }
  return true;
}

void stopEngine() {
  tw::WorldManager& world = tw::WorldManager::getInstance();
  const tw::ObjectList all = world.getAllObjects(true);
  for (int i = 0; i < all.getCount(); i++) world.markForDelete(all[i]);
  tw::GameManager::getInstance().shutDown();
}

void BM_WholeFrame(benchmark::State& state) {
  if (!startEngine()) {
    state.SkipWithError("the engine or the sprite did not start");
    return;
  }
  tw::GameManager& game = tw::GameManager::getInstance();
  const int count = static_cast<int>(state.range(0));
  for (int i = 0; i < count; i++) new Runner(i);
  for (auto _ : state) game.runStep();
  state.counters["sprites"] = count;
  state.counters["chars/frame"] =
      static_cast<double>(tw::DisplayManager::getInstance().getFrame().size());
  stopEngine();
}
BENCHMARK(BM_WholeFrame)->Arg(1000)->Unit(benchmark::kMicrosecond);

void BM_FullScreenOfChangingCharacters(benchmark::State& state) {
  if (!startEngine()) {
    state.SkipWithError("the engine did not start");
    return;
  }
  new tw_bench::ScreenFill(0);
  for (auto _ : state) tw::GameManager::getInstance().runStep();
  state.counters["chars/frame"] =
      static_cast<double>(tw::DisplayManager::getInstance().getFrame().size());
  stopEngine();
}
BENCHMARK(BM_FullScreenOfChangingCharacters)->Unit(benchmark::kMicrosecond);

}  // namespace
