// Sprite costs: parsing a sprite file of many frames in either format, and
// drawing 1,000 animated 5 by 3 sprites per frame, headless and, when an X
// display is reachable, in a real window (one iteration = one game frame).
#include <cstdio>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "engine/core/Config.h"
#include "engine/world/Animation.h"
#include "engine/display/DisplayManager.h"
#include "engine/world/Sprite.h"
#include "engine/platform/Sfml.h"
#include "engine/resources/ResourceManager.h"

namespace {

const int SPRITES_PER_FRAME = 1000;

std::string row(int frame, int y) { return std::string(5, static_cast<char>('a' + (frame + y) % 26)); }

std::string robustText(int frames) {
  std::string text = "<HEADER>\nframes " + std::to_string(frames) +
                     "\nwidth 5\nheight 3\ncolor green\nslowdown 2\n</HEADER>\n<BODY>\n";
  for (int f = 0; f < frames; f++) {
    for (int y = 0; y < 3; y++) text += row(f, y) + "\n";
    text += "end\n";
  }
  return text + "</BODY>\n<FOOTER>\nversion 1\n</FOOTER>\n";
}

std::string simpleText(int frames) {
  std::string text = std::to_string(frames) + "\n5\n3\n2\ngreen\n";
  for (int f = 0; f < frames; f++) {
    for (int y = 0; y < 3; y++) text += row(f, y) + "\n";
  }
  return text;
}

std::string writeTemp(const std::string& name, const std::string& text) {
  const std::string path = "/tmp/tw-bench-" + name;
  std::ofstream(path, std::ios::binary) << text;
  return path;
}

template <bool ROBUST>
void BM_LoadSpriteFile(benchmark::State& state) {
  const int frames = static_cast<int>(state.range(0));
  const std::string path =
      ROBUST ? writeTemp("robust.txt", robustText(frames)) : writeTemp("simple.txt", simpleText(frames));
  tw::ResourceManager& rm = tw::ResourceManager::getInstance();
  rm.startUp();
  for (auto _ : state) {
    std::ifstream in(path);
    tw::Sprite* sprite = ROBUST ? rm.loadRobustSprite(in) : rm.loadSimpleSprite(in);
    if (sprite == nullptr || sprite->getFrameCount() != frames) state.SkipWithError("not parsed");
    delete sprite;
  }
  rm.shutDown();
  std::remove(path.c_str());
  state.SetItemsProcessed(state.iterations() * frames);
}
BENCHMARK_TEMPLATE(BM_LoadSpriteFile, true)->Arg(100)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(BM_LoadSpriteFile, false)->Arg(100)->Arg(10000)->Unit(benchmark::kMillisecond);

// 1,000 animations over one 5 by 3 sprite of 4 frames, spread over the view.
struct Scene {
  tw::Sprite sprite{4};
  std::vector<tw::Animation> animations;
  std::vector<tw::Vector> positions;
  Scene() {
    sprite.setWidth(5);
    sprite.setHeight(3);
    sprite.setSlowdown(2);
    sprite.setTransparency(' ');
    for (int f = 0; f < 4; f++) sprite.addFrame(tw::Frame(5, 3, row(f, 0) + " x x " + row(f, 2)));
    for (int i = 0; i < SPRITES_PER_FRAME; i++) {
      animations.emplace_back();
      animations.back().setSprite(&sprite);
      positions.emplace_back(static_cast<float>(2 + (i * 7) % 76), static_cast<float>(1 + (i * 3) % 22));
    }
  }
  void draw() {
    for (int i = 0; i < SPRITES_PER_FRAME; i++) animations[i].draw(positions[i]);
  }
};

void BM_DrawSpritesHeadless(benchmark::State& state) {
  tw::Config::getInstance().loadConfig("headless:true");
  tw::DisplayManager& display = tw::DisplayManager::getInstance();
  display.startUp();
  Scene scene;
  for (auto _ : state) scene.draw();
  display.shutDown();
  state.SetItemsProcessed(state.iterations() * SPRITES_PER_FRAME);
}
BENCHMARK(BM_DrawSpritesHeadless)->Unit(benchmark::kMillisecond);

void BM_DrawSpritesWindow(benchmark::State& state) {
  if (!tw::platform::displayAvailable()) {
    state.SkipWithError("no X display (set DISPLAY to measure a real window)");
    return;
  }
  tw::Config::getInstance().loadConfig("headless:false");
  tw::DisplayManager& display = tw::DisplayManager::getInstance();
  if (display.startUp() != 0) {
    state.SkipWithError("the display manager did not start");
    return;
  }
  Scene scene;
  for (auto _ : state) {
    scene.draw();
    display.swapBuffers();
  }
  display.shutDown();
  state.SetItemsProcessed(state.iterations() * SPRITES_PER_FRAME);
}
BENCHMARK(BM_DrawSpritesWindow)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
