// What the debug overlay costs: one whole frame of the loop with the overlay
// shown against the same frame with it hidden, in the window (needs $DISPLAY;
// skipped without one) and in the capture presenter, with 100 and 10,000
// moving sprites. Prints the ratios (shown / hidden) at the end.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "bench/RatioReporter.h"
#include "engine/core/Config.h"
#include "engine/loop/DebugOverlay.h"
#include "engine/loop/GameManager.h"
#include "engine/platform/Sfml.h"
#include "engine/resources/ResourceManager.h"
#include "engine/world/EventOut.h"
#include "engine/world/Object.h"
#include "engine/world/WorldManager.h"

namespace {

const char* const SPRITE = "1\n3\n1\n4\ngreen\n<o>\n";
const char* const PRESENTERS[] = {"capture", "window"};

class Mover : public tw::Object {
 public:
  explicit Mover(int i) {
    setType("Mover");
    setSprite("mover");
    setSolidness(i % 2 == 0 ? tw::SOFT : tw::SPECTRAL);
    setPosition(tw::Vector(static_cast<float>(i % 76 + 2), static_cast<float>(i / 76 % 20 + 2)));
    setVelocity(tw::Vector(i % 2 == 0 ? 0.25f : -0.25f, 0.0f));
  }
  // Leaving one side, it comes back on the other.
  int eventHandler(const tw::Event* p_e) override {
    if (p_e->getType() != tw::OUT_EVENT) return 0;
    setPosition(tw::Vector(getPosition().getX() < 0 ? 79.0f : 0.0f, getPosition().getY()));
    return 1;
  }
};

bool startEngine(const std::string& presenter, std::string& why) {
  if (presenter == "window" && !tw::platform::displayAvailable()) {
    why = "no X display ($DISPLAY)";
    return false;
  }
  const std::string sprite_file = "/tmp/tw-bench-overlay-sprite.txt";
  std::FILE* file = std::fopen(sprite_file.c_str(), "w");
  if (file == nullptr) return false;
  std::fputs(SPRITE, file);
  std::fclose(file);
  setenv("TARNWICK_LOG", "/dev/null", 1);
  setenv("TARNWICK_CONFIG", "/dev/null/none", 1);
  tw::Config& config = tw::Config::getInstance();
  config.clearOverrides();
  config.addOverride("display:" + presenter + ",networking:false,frame_time:0,debug_freeze_times:false");
  if (tw::GameManager::getInstance().startUp() != 0 ||
      tw::ResourceManager::getInstance().loadSprite(sprite_file, "mover") != 0) {
    why = "the engine did not start";
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

// Arguments: presenter (0 capture, 1 window), sprites, overlay shown (0/1).
void BM_Frame(benchmark::State& state) {
  std::string why;
  if (!startEngine(PRESENTERS[state.range(0)], why)) {
    state.SkipWithError(why.c_str());
    return;
  }
  for (int i = 0; i < state.range(1); i++) new Mover(i);
  tw::DebugOverlay::getInstance().setShown(state.range(2) != 0);
  tw::GameManager& game = tw::GameManager::getInstance();
  for (int i = 0; i < 5; i++) game.runStep();  // the window's glyphs cached
  for (auto _ : state) game.runStep();
  stopEngine();
}
BENCHMARK(BM_Frame)
    ->ArgsProduct({{0, 1}, {100, 10000}, {0, 1}})
    ->ArgNames({"presenter", "sprites", "overlay"})
    ->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  std::vector<tw_bench::Ratio> ratios;
  for (int p = 0; p < 2; p++) {
    for (const char* sprites : {"100", "10000"}) {
      const std::string args = std::string("BM_Frame/presenter:") + std::to_string(p) +
                               "/sprites:" + sprites + "/overlay:";
      ratios.push_back({std::string(PRESENTERS[p]) + ", " + sprites + " sprites: shown / hidden",
                        args + "1", args + "0", p == 0 && std::string(sprites) == "100" ? 3.0 : 5.0});
    }
  }
  return tw_bench::runWithRatios(argc, argv, ratios);
}
